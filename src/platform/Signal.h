#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace twinfold
{

// A subscription to a Signal. It ends when disconnect() is called or the object is destroyed,
// whichever comes first, so a view that goes away never leaves a dangling subscriber behind. It
// may outlive the signal it came from.
class Connection
{
public:
    Connection() = default;
    explicit Connection(std::function<void()> disconnect) : m_disconnect(std::move(disconnect)) {}
    Connection(Connection&& other) noexcept : m_disconnect(std::exchange(other.m_disconnect, {})) {}
    Connection& operator=(Connection&& other) noexcept
    {
        if (this != &other) {
            disconnect();
            m_disconnect = std::exchange(other.m_disconnect, {});
        }
        return *this;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { disconnect(); }

    void disconnect()
    {
        if (auto action = std::exchange(m_disconnect, {}))
            action();
    }
    bool connected() const { return static_cast<bool>(m_disconnect); }

private:
    std::function<void()> m_disconnect;
};

// A change notification with any number of subscribers, called in the order they connected. A
// subscriber may connect or disconnect others (or itself) while the signal is being emitted: one
// that disconnects is not called afterwards, one that connects is called from the next emission.
template <typename... Args> class Signal
{
public:
    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;
    ~Signal()
    {
        // Connections that outlive the signal must find it gone.
        m_state->alive = false;
    }

    [[nodiscard]] Connection connect(std::function<void(Args...)> slot)
    {
        const std::size_t id = m_state->nextId++;
        m_state->slots.push_back({id, std::make_shared<Slot>(std::move(slot))});
        std::weak_ptr<State> weak = m_state;
        return Connection([weak, id] {
            if (auto state = weak.lock(); state && state->alive)
                state->remove(id);
        });
    }

    void emit(const Args&... args) const
    {
        // The live list is walked by position, without a copy: a run emits several signals per
        // file, and copying the list each time would cost more than the subscribers. A slot
        // disconnected meanwhile stays in place, inactive, until the outermost emission ends;
        // one connected meanwhile lies beyond the count taken here.
        if (m_state->slots.empty())
            return;
        const std::shared_ptr<State> state = m_state; // a subscriber may destroy the signal
        const Emission emission(*state);
        const std::size_t count = state->slots.size();
        for (std::size_t i = 0; i < count; ++i) {
            // Owned by the list until the outermost emission ends, wherever a connection made
            // during the call moves the list's entries.
            Slot* slot = state->slots[i].slot.get();
            if (slot->active)
                slot->function(args...);
        }
    }
    void operator()(const Args&... args) const { emit(args...); }

    std::size_t subscriberCount() const
    {
        std::size_t count = 0;
        for (const Entry& entry : m_state->slots)
            count += entry.slot->active ? 1U : 0U;
        return count;
    }

private:
    struct Slot {
        explicit Slot(std::function<void(Args...)> f) : function(std::move(f)) {}
        std::function<void(Args...)> function;
        bool active = true;
    };
    struct Entry {
        std::size_t id;
        std::shared_ptr<Slot> slot;
    };
    struct State {
        std::vector<Entry> slots;
        std::size_t nextId = 0;
        bool alive = true;
        int emitting = 0;
        bool removedWhileEmitting = false;
        void remove(std::size_t id)
        {
            for (auto it = slots.begin(); it != slots.end(); ++it) {
                if (it->id == id) {
                    it->slot->active = false;
                    if (emitting > 0)
                        removedWhileEmitting = true;
                    else
                        slots.erase(it);
                    return;
                }
            }
        }
        void compact()
        {
            std::erase_if(slots, [](const Entry& entry) { return !entry.slot->active; });
            removedWhileEmitting = false;
        }
    };
    // Counts the emissions under way, and drops the slots disconnected during them once the
    // outermost ends, also when a subscriber throws.
    struct Emission {
        State& state;
        explicit Emission(State& s) : state(s) { ++state.emitting; }
        ~Emission()
        {
            if (--state.emitting == 0 && state.removedWhileEmitting)
                state.compact();
        }
        Emission(const Emission&) = delete;
        Emission& operator=(const Emission&) = delete;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

} // namespace twinfold
