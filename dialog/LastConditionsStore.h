#pragma once
// The conditions a host user last exported with, remembered per user and selection in the
// settings file of the host's settings folder: one line "user/no1/no2:tax/month/path\n" each.
// The condition dialog fills itself from the store; the run remembers through it.

#include <cstddef>
#include <cstdint>

#include "dialog/PathFunctions.h"
#include "framework/String.h"

class LastConditionsStore {
public:
    // The entries of host user `userId` (a terminated string) with the selection numbers the
    // host gives them.
    LastConditionsStore(const char* userId, long selectNo1, long selectNo2);

    // The remembered conditions (tax flag, to-month, output path into `path` of `pathSize`
    // bytes); false, with nothing written, when there is no usable entry.
    bool Read(int16_t* taxIncluded, int16_t* toMonth, char* path, size_t pathSize);
    // Remembers the conditions of a successful run; a null path keeps the path the last Read
    // found (an empty one when it found none).
    bool Write(int16_t taxIncluded, int16_t toMonth, const char* path) const;

private:
    CString Key() const;  // "user/no1/no2:", what an entry starts with

    CString m_userId;
    long m_selectNo1 = 0;
    long m_selectNo2 = 0;
    char m_readPath[kPathBufferSize] = {};
};
