#pragma once
// What the aggregation and the report writer see of the progress window: they move its bars
// and know nothing else of dialogs.

class ProgressSink {
public:
    // One main-bar step for every value from `from` to `to`, both included (0..1000 scale).
    virtual void Advance(short from, short to) = 0;
    // One sweep of the activity bar.
    virtual void Tick() = 0;

protected:
    ~ProgressSink() = default;
};
