#pragma once

// The stand-in's state of a host object, kept beside the object rather than inside it: the
// host's classes, as the program sees them, carry no state of the stand-in. An object's
// entry is made by its constructor (which also makes the table exist before the object, so
// that it outlives even a static object) and removed by its destructor.

#include <map>

namespace standin {

template <class State>
class StateTable {
public:
    State& Of(const void* object) { return states_[object]; }
    void Forget(const void* object) { states_.erase(object); }

private:
    std::map<const void*, State> states_;
};

}  // namespace standin
