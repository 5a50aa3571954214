// A reference to a callable for the length of one call: what a predicate handed down to a
// look-up needs. Unlike std::function it neither copies nor wraps the callable, which the
// message loop's searches, run on every wait, would pay for each time.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace sim {

template <class Signature> class FunctionRef;

template <class R, class... Args> class FunctionRef<R(Args...)> {
  public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FunctionRef>>>
    FunctionRef(F&& callable) // NOLINT: stands in for the callable, as std::function does
        : object_(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
          call_([](void* object, Args... args) -> R {
              return (*static_cast<std::remove_reference_t<F>*>(object))(
                  std::forward<Args>(args)...);
          }) {}

    R operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }

  private:
    void* object_;
    R (*call_)(void*, Args...);
};

} // namespace sim
