#pragma once
// Writes the statement XML file from the statement list and the company record.

#include <cstdint>

#include "aggregate/ProgressSink.h"
#include "aggregate/StatementList.h"

struct StDATAINFO;

class StatementReport {
public:
    StatementReport() = default;
    virtual ~StatementReport() = default;

    int16_t SetProgressBase(int16_t base);
    // 1 when every section was written, 0 otherwise.
    int WriteReport(const char* outputPath, int16_t functionId, const StDATAINFO* company);

    ProgressSink* progressWindow = nullptr;  // not owned
    const StatementList* statementList = nullptr;  // not owned, read only
    int16_t progressBase = 0;
};
