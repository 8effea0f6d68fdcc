#pragma once
// Contracts: a method one module calls on another by name, declared once in a header both
// sides include. The caller looks it up by the contract, the provider publishes it with
// ORVO_PROVIDE, and a provider whose member has another signature does not compile.
//
//   ORVO_CONTRACT(ParserDoParse, L"Parser", DoParse, int(const wchar_t*, XElement**))
//   static orvo::ContractCall<ParserDoParse> s_parse;      // a service's method
//   if (auto parse = s_parse.Get()) parse(path, &root);
//   static orvo::ContractMethod<ScriptRegObject> s_reg;    // a method of objects met at run time
//   if (auto reg = s_reg.Get(script)) reg(name, object);
#include <type_traits>

#include "nubra/call_site.h"
#include "nubra/dispatch_declaration.h"

// `service` is the registry name of the provider, or nullptr for a method of objects that
// the caller meets at run time.
#define ORVO_CONTRACT(Name, service_, method_, ...)                                                \
    struct Name {                                                                                  \
        static constexpr const wchar_t* service = service_;                                        \
        static constexpr const wchar_t* method = ORVO_NAME(method_);                               \
        using Signature = __VA_ARGS__;                                                             \
    };

namespace orvo {

template <class Contract, auto Fn> DispEntry Provide() {
    static_assert(std::is_same_v<typename detail::MemberFn<decltype(Fn)>::Signature,
                                 typename Contract::Signature>,
                  "the provider's member must have the contract's signature");
    return Method<Fn>(Contract::method);
}

// A property whose getter is the contract: a member function, or a data member read as one.
template <class Contract, auto Getter> DispEntry ProvideGetter() {
    if constexpr (std::is_member_object_pointer_v<decltype(Getter)>) {
        using Type = typename detail::MemberData<decltype(Getter)>::Type;
        static_assert(std::is_same_v<Type(), typename Contract::Signature>,
                      "the provider's property must have the contract's type");
        return Property<Getter>(Contract::method);
    } else {
        static_assert(std::is_same_v<typename detail::MemberFn<decltype(Getter)>::Signature,
                                     typename Contract::Signature>,
                      "the provider's getter must have the contract's signature");
        return PropertyEx<Getter>(Contract::method);
    }
}

// A service's method, resolved again whenever the registry changes.
template <class Contract> class ContractCall : public ServiceCall<typename Contract::Signature> {
public:
    constexpr ContractCall()
        : ServiceCall<typename Contract::Signature>(Contract::service, Contract::method) {}
};

// A method of whatever object the call site is given, kept per class.
template <class Contract> class ContractMethod : public MethodCall<typename Contract::Signature> {
public:
    constexpr ContractMethod() : MethodCall<typename Contract::Signature>(Contract::method) {}
};

// The contract's method on `object`, or empty when it does not publish it so.
template <class Contract> BoundMethod<typename Contract::Signature> Resolve(IXO* object) {
    return object ? object->GetFunction<typename Contract::Signature>(Contract::method)
                  : BoundMethod<typename Contract::Signature>{};
}

// A property getter of the contract's service.
template <class Contract> BoundMethod<typename Contract::Signature> ResolveGetter() {
    IXO* object = Contract::service ? IXO::FindInstance(Contract::service) : nullptr;
    return object ? object->GetSetFunction<typename Contract::Signature>(Contract::method, 1)
                  : BoundMethod<typename Contract::Signature>{};
}

} // namespace orvo
