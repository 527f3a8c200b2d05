#pragma once
// The user signed in to the host and the company data that user has open: the run takes the
// open company from it, and the remembered conditions are kept under it.

// The host writes the user id into 65 bytes; the id here is always NUL-terminated.
struct HostUser {
    char id[65] = {};
    long selectNo1 = 0;
    long selectNo2 = 0;   // the data number of the open company
};

// Asks the host for its user; all zero when the host has no user object.
HostUser ReadHostUser();
