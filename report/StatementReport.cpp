#include "report/StatementReport.h"

int16_t StatementReport::SetProgressBase(int16_t base)
{
    progressBase = base;
    return progressBase;
}

// The XML document is not written yet. Reporting failure keeps the run honest: the user is
// told that no file was written.
int StatementReport::WriteReport(const char* /*outputPath*/, int16_t /*functionId*/,
                                 const StDATAINFO* /*company*/)
{
    return 0;
}
