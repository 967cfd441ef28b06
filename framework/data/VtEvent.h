#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <type_traits>
#include <vector>

// A hook with any number of subscribers, called in the order they came.
//
// Assigning a handler replaces every subscriber (the owner of the object
// declares its own rule that way); Add subscribes one more beside the
// others. A subscriber added with an owner is dropped when the owner is
// destroyed (a window subscribing to a collection of the connection
// module), or when Remove(owner) is called.
template <typename... Args>
class TVtEvent
{
public:
    using THandler = std::function<void(Args...)>;

    TVtEvent() = default;
    template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TVtEvent>
                                                  && std::is_invocable_v<F &, Args...>>>
    TVtEvent(F handler) { Add(nullptr, THandler(std::move(handler))); }

    template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TVtEvent>
                                                  && std::is_invocable_v<F &, Args...>>>
    TVtEvent &operator=(F handler)
    {
        m_items.clear();
        Add(nullptr, THandler(std::move(handler)));
        return *this;
    }
    TVtEvent &operator=(std::nullptr_t)
    {
        m_items.clear();
        return *this;
    }

    void Add(QObject *owner, THandler handler)
    {
        if (handler)
            m_items.push_back(Item{owner, owner != nullptr, std::move(handler)});
    }
    void Remove(QObject *owner)
    {
        for (auto it = m_items.begin(); it != m_items.end();)
            it = (it->Owned && (it->Owner == owner || !it->Owner)) ? m_items.erase(it) : it + 1;
    }

    int Count() const
    {
        int n = 0;
        for (const Item &i : m_items)
            n += i.Alive() ? 1 : 0;
        return n;
    }
    explicit operator bool() const { return Count() > 0; }

    // Calls every living subscriber; one added or removed during the call
    // takes effect from the next call.
    void operator()(Args... args) const
    {
        const std::vector<Item> items = m_items;
        for (const Item &i : items)
            if (i.Alive())
                i.Handler(args...);
    }

private:
    struct Item
    {
        QPointer<QObject> Owner;
        bool Owned = false;
        THandler Handler;
        bool Alive() const { return !Owned || !Owner.isNull(); }
    };
    std::vector<Item> m_items;
};
