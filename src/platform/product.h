// The product's name and version texts, as every window and report shows them.
// The version is set here only: the version resources (res/*.rc) and the
// installer packages (scripts/make-msi) read it from this file.
#pragma once

#define TIDEMARK_VERSION "4.06"
#define TIDEMARK_BUILD "4.6.0.150"
#define TIDEMARK_BUILD_FIELDS 4, 6, 0, 150

#ifndef RC_INVOKED
namespace tidemark {

inline constexpr const char* kProductName = "Tidemark";
inline constexpr const char* kProductTitle = "Tidemark - Purge Cache, Cookies and Tracks for Mozilla's FireFox";
inline constexpr const char* kVersionText = "Version - " TIDEMARK_VERSION;
inline constexpr const char* kBuildText = "Build " TIDEMARK_BUILD;

}  // namespace tidemark
#endif
