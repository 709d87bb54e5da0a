# Writes a C++ source holding the bytes of INPUT behind the function SYMBOL() in namespace
# quorvane:  cmake -DINPUT=file -DSYMBOL=Name -DOUTPUT=file.cpp -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.
#include <string_view>

namespace quorvane {
namespace {
constexpr char kBytes[] = {${bytes}};
}  // namespace

std::string_view ${SYMBOL}() { return {kBytes, ${size}}; }

}  // namespace quorvane
")
