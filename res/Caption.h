#pragma once
// The program's name as the user sees it: the caption of every message it shows, its own
// and those the host shows for it.

inline constexpr char kMessageCaption[] = "科目内訳書";
