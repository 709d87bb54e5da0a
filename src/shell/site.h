#pragma once

namespace quorvane {

// The product's own web addresses, in one place. "quorvane.example" is a reserved name that
// never resolves, so nothing here reaches a real host.
inline constexpr const char* kSiteName = "quorvane.example";
inline constexpr const char* kHomePage = "https://quorvane.example";
inline constexpr const char* kFeedbackPage = "https://quorvane.example/feedback";
inline constexpr const char* kAboutPage = "https://quorvane.example/a/jx.html";

}  // namespace quorvane
