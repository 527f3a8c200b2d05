#pragma once
// Writes the statement XML file from the statement list and the company record: the root
// "REPORT" with its sections "SYSTEM", "BASIC" and "DATA". The file replaces what stood at the
// output path only once it is complete; on any failure that stays as it was.

#include <cstdint>
#include <optional>
#include <string>

#include "aggregate/ProgressSink.h"
#include "aggregate/StatementList.h"

class XmlWriter;
struct StDATAINFO;

class StatementReport {
public:
    // The report writes the entries of `statements` and reports its steps to `progress`; both
    // outlive it.
    StatementReport(ProgressSink& progress, const StatementList& statements)
        : m_progress(progress), m_statements(statements)
    {
    }
    virtual ~StatementReport() = default;
    StatementReport(const StatementReport&) = delete;
    StatementReport& operator=(const StatementReport&) = delete;

    int16_t SetProgressBase(int16_t base);
    // 1 when every section was written and the file put in place, 0 otherwise.
    int WriteReport(const char* outputPath, int16_t functionId, const StDATAINFO* company);
    // After a WriteReport that stopped at a balance the file cannot carry (10^12 yen or more,
    // -10^11 yen or less): the name of that entry as the file would carry it. Null otherwise.
    const char* RefusedBalanceName() const;

    // The sections; each 1 / 0, ending at its first failed line.
    int WriteSystem(XmlWriter& writer, int16_t functionId);
    int WriteBasic(XmlWriter& writer, const StDATAINFO* company);
    int WriteData(XmlWriter& writer);

    // The text as the file carries it (CarriedText) in full width (FullWidthCp932), cut to at
    // most 32 bytes on a character boundary.
    // Points to a buffer shared by all calls, valid until the next one.
    const char* ToFullWidthName(const char* text);

    const StatementEntry* cursor = nullptr;         // the entry WriteData is at
    int16_t progressBase = 0;

private:
    void Tick();
    void Advance(int from, int to);

    ProgressSink& m_progress;
    const StatementList& m_statements;
    char m_fullWidthName[128] = {};
    std::optional<std::string> m_refusedName;
};
