#pragma once

#include <utility>

namespace twinfold
{

// Runs an action when the scope ends, however it ends: the way a state that holds for the
// length of an operation (a run, a batch) is always taken back.
template <typename Action> class ScopeExit
{
public:
    explicit ScopeExit(Action action) : m_action(std::move(action)) {}
    ~ScopeExit() { m_action(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action m_action;
};

} // namespace twinfold
