#pragma once

namespace homeclick::platform {

// A non-owning bound handler: a plain function pointer and the object it acts
// on. Unlike std::function it never allocates and needs no exception support.
template <class... Args> class callback {
public:
    constexpr callback() noexcept = default;

    template <auto Method, class Target> [[nodiscard]] static constexpr callback bind(Target& target) noexcept
    {
        callback c;
        c.target_ = &target;
        c.invoke_ = [](void* t, Args... args) { (static_cast<Target*>(t)->*Method)(args...); };
        return c;
    }

    [[nodiscard]] constexpr explicit operator bool() const noexcept { return invoke_ != nullptr; }

    // An unbound event is ignored when it is raised.
    void operator()(Args... args) const
    {
        if (invoke_) {
            invoke_(target_, args...);
        }
    }

private:
    void (*invoke_)(void*, Args...) = nullptr;
    void* target_ = nullptr;
};

} // namespace homeclick::platform
