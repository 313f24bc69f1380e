#pragma once

#include <type_traits>
#include <utility>

template <class Signature>
class FunctionRef;

// A non-owning reference to any callable: two pointers, no allocation, one indirect call.
// The callable must outlive the reference; pass a lambda straight as an argument, never keep
// a reference to a temporary in a variable.
template <class Result, class... Arguments>
class FunctionRef<Result(Arguments...)> {
public:
    template <class Callable,
              class = std::enable_if_t<!std::is_same_v<std::decay_t<Callable>, FunctionRef> &&
                                       std::is_invocable_r_v<Result, const Callable&, Arguments...>>>
    FunctionRef(const Callable& callable) noexcept // NOLINT: implicit by design
        : object_(&callable),
          call_([](const void* object, Arguments... arguments) -> Result {
              return (*static_cast<const Callable*>(object))(std::forward<Arguments>(arguments)...);
          })
    {
    }

    Result operator()(Arguments... arguments) const
    {
        return call_(object_, std::forward<Arguments>(arguments)...);
    }

private:
    const void* object_;
    Result (*call_)(const void*, Arguments...);
};
