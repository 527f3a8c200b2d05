// Resource identifiers shared by the program's code and its resource scripts.
// Only #define lines: the resource compiler reads this file as well.

#ifndef BRIDGE_RES_RESOURCE_H
#define BRIDGE_RES_RESOURCE_H

#define IDS_PROGRAM_VERSION     1

#define IDD_CONDITION           130
#define IDD_PROGRESS            131

// Condition dialog (130).
#define IDC_TO_MONTH            1000
#define IDC_BROWSE              1001
#define IDC_EXECUTE             1002
#define IDC_CANCEL_BUTTON       1003
#define IDC_TAX_INCLUDED        1004
#define IDC_COMPANY_LABEL       1005
#define IDC_COMPANY             1006
#define IDC_PERIOD_LABEL        1007
#define IDC_PERIOD              1008
#define IDC_RANGE_LABEL         1009
#define IDC_FROM_MONTH          1010
#define IDC_FROM_MONTH_UNIT     1011
#define IDC_RANGE_SIGN          1012
#define IDC_TO_MONTH_LABEL      1013
#define IDC_OUTPUT_GROUP        1014
#define IDC_OUTPUT_PATH         1015

// Progress window (131).
#define IDC_PROGRESS_MAIN       1016
#define IDC_PROGRESS_TICK       1017

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

#endif
