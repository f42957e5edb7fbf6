// The product's name and version texts, as every window and report shows them.
#pragma once

namespace tidemark {

inline constexpr const char* kProductName = "Tidemark";
inline constexpr const char* kProductTitle = "Tidemark - Purge Cache, Cookies and Tracks for Mozilla's FireFox";
inline constexpr const char* kVersionText = "Version - 4.06";
inline constexpr const char* kBuildText = "Build 4.6.0.150";

}  // namespace tidemark
