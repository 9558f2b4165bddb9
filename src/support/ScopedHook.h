#pragma once
// Replacing a process-wide hook for the length of a scope.
//
// The program's replaceable hooks (the error report, the sharing-error box,
// the address opener ...) are static functions returning a reference to a
// std::function that holds the default. A test that puts its own function in
// takes a TScopedHook, so that the previous function is back when the scope
// ends, also when a failing assertion leaves the scope early:
//
//     QStringList shown;
//     TScopedHook presenter(TApplication::ErrorPresenter(),
//                           [&](const QString& m) { shown << m; });

#include <functional>
#include <type_traits>
#include <utility>

template <typename Signature>
class TScopedHook {
public:
    // The signature comes from the hook alone, so that a lambda can be the
    // replacement.
    TScopedHook(std::function<Signature>& hook, std::type_identity_t<std::function<Signature>> replacement)
        : hook_(hook), previous_(std::exchange(hook, std::move(replacement)))
    {
    }
    ~TScopedHook() { hook_ = std::move(previous_); }

    TScopedHook(const TScopedHook&) = delete;
    TScopedHook& operator=(const TScopedHook&) = delete;

private:
    std::function<Signature>& hook_;
    std::function<Signature> previous_;
};
