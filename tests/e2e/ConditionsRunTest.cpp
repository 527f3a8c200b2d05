// Remembered conditions across runs: what the user chose in a successful run is what the
// next run's dialog offers, through the settings file in the host's settings folder.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/BridgeWindows.h"
#include "tests/e2e/CompanyFolder.h"
#include "tests/e2e/WindowDriver.h"

namespace {

const DWORD kTimeoutMs = 20000;
const wchar_t kDone[] = L"科目内訳書情報の出力が終了しました。\n\nアプリケーションを終了します。";
const wchar_t kCancelled[] = L"｢科目内訳書｣の集計を中止します。";

// Answers the run's message boxes (Yes to questions, OK otherwise) until it ends; the texts.
std::wstring AnswerUntilTheEnd(BridgeProcess& process)
{
    std::wstring texts;
    DWORD status = 0;
    for (int i = 0; i < 200 && !process.WaitForExit(0, &status); ++i) {
        HWND box = WaitForDialog(process.Id(), kMessageCaption, 100);
        if (box == nullptr) continue;
        texts += MessageBoxText(box) + L"|";
        ClickButton(box, IDYES);
        ClickButton(box, IDOK);
        EXPECT_TRUE(WaitUntilGone(box, kTimeoutMs));
    }
    return texts;
}

// The settings file holds paths as code page 932 bytes.
std::string Cp932(const std::wstring& text)
{
    std::string bytes(text.size() * 2, '\0');
    const int length = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return bytes;
}

void ClickCheckBox(HWND dialog, int id)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

// Starts a run, checks what its dialog offers, and cancels it.
void ExpectDialogOffers(CompanyFolder& company, const std::wstring& toMonth, bool taxIncluded, const std::wstring& path,
                        const wchar_t* exeName = L"QuorlinA.exe")
{
    BridgeProcess run;
    ASSERT_TRUE(company.Start(run, exeName));
    HWND dialog = WaitForDialog(run.Id(), kConditionCaption, kTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(dialog, IDC_TO_MONTH), toMonth);
    EXPECT_EQ(ControlText(dialog, IDC_OUTPUT_PATH), path);
    DWORD_PTR check = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, IDC_TAX_INCLUDED), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &check);
    EXPECT_EQ(check, static_cast<DWORD_PTR>(taxIncluded ? BST_CHECKED : BST_UNCHECKED));
    ClickButton(dialog, IDC_CANCEL_BUTTON);
    EXPECT_NE(AnswerUntilTheEnd(run).find(kCancelled), std::wstring::npos);
}

TEST(ConditionsRunTest, ASecondRunShowsTheFirstRunsConditions)
{
    CompanyFolder company;
    const std::wstring output = company.OutputFolder() + L"\\表.xml";
    {
        BridgeProcess first;
        ASSERT_TRUE(company.Start(first, L"QuorlinA.exe"));
        HWND dialog = WaitForDialog(first.Id(), kConditionCaption, kTimeoutMs);
        ASSERT_NE(dialog, nullptr);
        SetControlText(dialog, IDC_TO_MONTH, L"2");
        ClickCheckBox(dialog, IDC_TAX_INCLUDED);  // the sample company sums without tax
        SetControlText(dialog, IDC_OUTPUT_PATH, output);
        ClickButton(dialog, IDC_EXECUTE);
        ASSERT_NE(AnswerUntilTheEnd(first).find(kDone), std::wstring::npos) << "the first run did not succeed";
    }
    EXPECT_EQ(ReadFileBytes(company.DataFolder() + L"\\settings\\QuorlinA.env"), "sato/1/3:1/2/" + Cp932(output) + "\n");

    ExpectDialogOffers(company, L"2", true, output);
}

// What an earlier run (of this version or of an earlier one) left in the settings file.
TEST(ConditionsRunTest, ARunOffersTheConditionsTheSettingsFileRemembers)
{
    CompanyFolder company;
    const std::wstring output = company.OutputFolder() + L"\\ソ.xml";
    CreateDirectoryW((company.DataFolder() + L"\\settings").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(company.DataFolder() + L"\\settings\\QuorlinA.env",
                               "user01/1/3:0/5/C:\\other.xml\nsato/1/3:1/11/" + Cp932(output) + "\n"));
    // The shipped edition and the copy under the UTF-8 code page read the same bytes alike.
    for (const wchar_t* exeName : {L"QuorlinA.exe", L"QuorlinA-utf8.exe"}) {
        SCOPED_TRACE(Utf8FromWide(exeName));
        ExpectDialogOffers(company, L"11", true, output, exeName);
    }
}

}  // namespace
