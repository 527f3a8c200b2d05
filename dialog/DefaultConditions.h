#pragma once
// What the condition dialog offers when the user has no remembered conditions.

#include <cstdint>

#include "framework/String.h"

// 1 when the open company's consumption-tax settings sum tax-inclusive; 0 otherwise, also
// when the host cannot tell.
int16_t ReadTaxSetting();
// "*.xml" in the host's output folder (folder type 0), else in the system's temporary
// folder, else alone.
CString DefaultOutputPath();
