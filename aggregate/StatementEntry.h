#pragma once
// One row of the statement: an account (code a multiple of 10000) or one of its
// sub-accounts (account code x 10000 + sub-account code), with its closing balance.

#include <cstddef>
#include <cstdint>

struct StatementEntry {
    int32_t code;            // account code x 10000 + sub-account code, as the host gives it
    char name[17];           // code page 932, at most 16 bytes, always zero-terminated
    uint8_t hasSubAccounts;  // nonzero on an account row whose sub-account rows follow it
    int64_t balance;         // ten-thousandths of a yen; positive on the account's normal side
};

// Copies a host name into an entry's name field: the field is zero-filled, then at most 16
// bytes are copied, stopping at the source's terminator or after hostNameSize bytes (the
// host's field need not be terminated). A double-byte character that would not fit whole is
// left out; a lead byte without its second half is kept as the byte it is (the report shows it
// as "・"), so the rest of the name is not lost.
void CopyEntryName(char (&name)[17], const char* hostName, size_t hostNameSize);
