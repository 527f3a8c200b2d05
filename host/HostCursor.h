#pragma once
// The program's own guard over a cursor of one of the host's sets, held for one walk: it is
// released however the walk ends, also when a host call throws. A release that throws in
// turn has nothing left to undo. A cursor the host did not give (its acquiring call returned
// a status other than 0) is neither readied nor released: there is nothing to walk.

template <typename Set>
class HostCursor {
public:
    // Takes a cursor with `acquire` and readies it with `ready(set, cursor)`. A constructor
    // that throws runs no destructor: what it acquired it gives back itself.
    template <typename Ready>
    HostCursor(Set& set, long (Set::*acquire)(long*), long (Set::*release)(long), Ready ready)
        : set_(set), release_(release)
    {
        held_ = (set_.*acquire)(&cursor_) == 0;
        if (!held_) return;
        try {
            ready(set_, cursor_);
        } catch (...) {
            Release();
            throw;
        }
    }
    ~HostCursor() { Release(); }
    HostCursor(const HostCursor&) = delete;
    HostCursor& operator=(const HostCursor&) = delete;

    bool IsHeld() const { return held_; }  // the host gave the cursor
    long Id() const { return cursor_; }

private:
    void Release()
    {
        if (!held_) return;
        try {
            (set_.*release_)(cursor_);
        } catch (...) {
        }
    }

    Set& set_;
    long (Set::*release_)(long);
    long cursor_ = 0;
    bool held_ = false;
};
