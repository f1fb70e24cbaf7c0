// Whether the version found on the update page is newer than the running one, under each
// TVersionFormat. Pure; never throws.
//
// vfStandard: dotted integers compared from the left; a component that is not an integer
//   counts as 0, and a missing component counts as 0 (1.5 equals 1.5.0).
// vfString: the found text is greater in plain character-code order.
// vfNumber: both are finite decimal numbers with "." as separator, whatever the locale,
//   and the found one is greater; when either is not a number, the answer is false.
#pragma once

#include "update/UpdateSettings.h"

#include <string_view>

namespace selvane {

bool IsNewerVersion(TVersionFormat format, std::string_view current, std::string_view found);

}  // namespace selvane
