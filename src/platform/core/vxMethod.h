// Method pointers for events and callbacks: a callable with an identity.
//
// An event is raised only when assigned (operator bool). Two TMethods compare equal when they
// are bound to the same member function of the same object, or when one is a copy of the other,
// so a listener can be found again and removed.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>

namespace vxplan {

template <class Signature>
class TMethod;

template <class R, class... Args>
class TMethod<R(Args...)> {
public:
    TMethod() = default;
    TMethod(std::nullptr_t) {}

    // Bound to a member function of an object; equal to every other binding of the same pair.
    template <class C, class M>
        requires std::is_member_function_pointer_v<M>
    TMethod(C* object, M member)
        : call_([object, member](Args... args) -> R { return (object->*member)(std::forward<Args>(args)...); }),
          object_(object)
    {
        static_assert(sizeof(M) <= sizeof(code_), "member pointer too large");
        std::memcpy(code_, &member, sizeof(M));
    }

    // Any callable; it is equal only to its own copies.
    template <class F>
        requires(std::is_invocable_r_v<R, F&, Args...> && !std::is_same_v<std::decay_t<F>, TMethod> &&
                 !std::is_same_v<std::decay_t<F>, std::nullptr_t>)
    TMethod(F f) : call_(std::move(f)), object_(nullptr)
    {
        const uint64_t id = NextId();
        std::memcpy(code_, &id, sizeof(id));
    }

    explicit operator bool() const { return static_cast<bool>(call_); }
    R operator()(Args... args) const { return call_(std::forward<Args>(args)...); }

    // The object a member binding calls; null for other callables.
    void* Data() const { return object_; }

    friend bool operator==(const TMethod& a, const TMethod& b)
    {
        if (!a.call_ || !b.call_) return !a.call_ && !b.call_;
        return a.object_ == b.object_ && std::memcmp(a.code_, b.code_, sizeof(code_)) == 0;
    }

private:
    static uint64_t NextId()
    {
        static std::atomic<uint64_t> counter{1};
        return counter++;
    }

    std::function<R(Args...)> call_;
    void* object_ = nullptr;
    unsigned char code_[2 * sizeof(void*)] = {};
};

class TObject;
using TNotifyEvent = TMethod<void(TObject* Sender)>;

}  // namespace vxplan
