// Identifiers of the framework tests' own resources (FrameworkTests.rc).
#pragma once

#define IDD_TEST_DIALOG 200
#define IDC_NAME_EDIT 1000
#define IDC_FLAG_CHECK 1001
#define IDC_EXECUTE_BUTTON 1002
#define IDC_CANCEL_BUTTON 1003
#define IDC_PROGRESS_BAR 1004
#define IDC_CODE_EDIT 1005
#define IDC_CAPTION_STATIC 1006

#define IDS_TEST_TEXT 1
#define IDS_MISSING_TEXT 99
