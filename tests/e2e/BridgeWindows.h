#pragma once
// The captions by which a run's windows are found; their controls are named in res/resource.h.

inline constexpr wchar_t kConditionCaption[] = L"科目内訳書 - 集計条件";
inline constexpr wchar_t kMessageCaption[] = L"科目内訳書";
