// SupportInfo: the host product's support information file "SUPPORT.INF" in the current
// directory (the program's folder), read for the product's name and version. The file is a
// code page 932 form whose bracketed keys are followed on their line by their values.
#pragma once

#include <cstddef>
#include <memory>

class SupportInfo {
public:
    static constexpr size_t kBlockBytes = 30000;  // only this much of the file is looked at

    SupportInfo() = default;
    virtual ~SupportInfo() = default;
    SupportInfo(const SupportInfo&) = delete;
    SupportInfo& operator=(const SupportInfo&) = delete;

    // 1 when the content is in the block (now or from an earlier call), 0 when the memory
    // cannot be had (after telling the user) or the file cannot be opened.
    int Load();
    // The value after "[=製品名=]" / "[=製品ﾊﾞｰｼﾞｮﾝ=]" on the same line, or an empty text; valid
    // while the object lives.
    const char* GetProductName();
    const char* GetProductVersion();

private:
    const char* ValueOf(const char* key);

    // The block: kBlockBytes filled with 0xFF, then the file's first bytes, and one more byte
    // that ends a value running to the end of the content.
    std::unique_ptr<char[]> block;
    char* blockText = nullptr;
    size_t contentBytes = 0;
};
