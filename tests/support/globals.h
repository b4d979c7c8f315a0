#pragma once
// Globals a test may change are put back after every test, whatever the test
// did (failed half way, threw, forgot): each test program runs whole as well
// as one test at a time, and no test may find what an earlier one left.
//
// The platform's globals (the application's message-box hook, help file,
// handlers, version and arguments, the default locale, the clock, the mouse capture, the stored
// settings, ...) are kept by the test main. A test folder whose library has
// globals of its own keeps them with a file-scope KeptGlobal.

#include <functional>
#include <type_traits>
#include <utility>

namespace testutil {

// `snapshot` is called once when the tests start; what it returns is called
// after every test to put the global back.
using Restorer = std::function<void()>;
void keepGlobal(std::function<Restorer()> snapshot);

// Puts `global` back to its value at the start of the tests after every test.
template <class T>
struct KeptGlobal {
    explicit KeptGlobal(T& global)
    {
        keepGlobal([&global] { return Restorer([&global, saved = global] { global = saved; }); });
    }
};

// Gives `global` another value for the life of the object (a test's own
// message-box answers, say), then puts the old one back.
template <class T>
class ScopedValue {
public:
    ScopedValue(T& global, std::type_identity_t<T> value) : m_global(global), m_saved(std::move(global)) { m_global = std::move(value); }
    ~ScopedValue() { m_global = std::move(m_saved); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& m_global;
    T m_saved;
};

// Takes the snapshots and installs the restoring after every test (test main).
void startKeepingGlobals();

} // namespace testutil
