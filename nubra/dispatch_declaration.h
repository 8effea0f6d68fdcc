#pragma once
// Declaring what a class publishes. Each name is written once: the macros publish a member
// under its own name, or under another name with the _AS forms.
//
//   class XLoader : public XDO {
//       ORVO_DISPATCH_MAP()
//       ORVO_KEY(L"loader")           // registry key, and the tag its factory answers to
//       ...
//   };
//
//   ORVO_DISPATCH(XLoader, XDO,
//       ORVO_METHOD(IsLoaded),
//       ORVO_METHOD_AS(LoadVB, Load),
//       ORVO_PROPERTY_AS(m_strName, Name),          // a data member
//       ORVO_PROPERTY_EX(GetMax, SetMax, MaxCount), // accessors; ORVO_READONLY for a getter
//       ORVO_PROVIDE(orvo::contract::ParserDoParse, DoParse))
//   ORVO_REGISTER_FACTORY(XLoader)                  // or orvo::RegisterInstance(&theService)
#include "nubra/dispatch_map.h"

#define ORVO_WIDE_(text) L##text
#define ORVO_WIDE(text) ORVO_WIDE_(text)
#define ORVO_NAME(identifier) ORVO_WIDE(#identifier)
#define ORVO_CONCAT_(a, b) a##b
#define ORVO_CONCAT(a, b) ORVO_CONCAT_(a, b)

// Declares the dispatch map of a class; ORVO_DISPATCH in its .cpp defines it.
#define ORVO_DISPATCH_MAP()                                                                        \
public:                                                                                            \
    static const ::orvo::DispatchMap& ClassDispatch();                                             \
    const ::orvo::DispatchMap& GetDispatchMap() const override {                                   \
        return ClassDispatch();                                                                    \
    }

// The class's registry key; ORVO_REGISTER_FACTORY and ORVO_REGISTER_INSTANCE register under it.
#define ORVO_KEY(key)                                                                              \
public:                                                                                            \
    static constexpr const wchar_t* kIXOKey = key;                                                 \
    const wchar_t* GetIXOKey() const override {                                                    \
        return kIXOKey;                                                                            \
    }

#define ORVO_DISPATCH_DEFINE_(inline_, Class, Base, ...)                                           \
    [[maybe_unused]] static const bool ORVO_CONCAT(orvo_dispatch_declared_, __LINE__) =            \
        ::orvo::DispatchMap::Declare(&Class::ClassDispatch);                                       \
    inline_ const ::orvo::DispatchMap& Class::ClassDispatch() {                                    \
        using Self [[maybe_unused]] = Class;                                                       \
        static const ::orvo::DispatchMap map(                                                      \
            ORVO_NAME(Class), &Base::ClassDispatch(), {__VA_ARGS__});                              \
        return map;                                                                                \
    }
#define ORVO_DISPATCH(Class, Base, ...) ORVO_DISPATCH_DEFINE_(, Class, Base, __VA_ARGS__)
// For classes defined whole in a header.
#define ORVO_DISPATCH_INLINE(Class, Base, ...)                                                     \
    ORVO_DISPATCH_DEFINE_(inline, Class, Base, __VA_ARGS__)

#define ORVO_METHOD(fn) ::orvo::Method<&Self::fn>(ORVO_NAME(fn))
#define ORVO_METHOD_AS(fn, name) ::orvo::Method<&Self::fn>(ORVO_NAME(name))
#define ORVO_PROPERTY(member) ::orvo::Property<&Self::member>(ORVO_NAME(member))
#define ORVO_PROPERTY_AS(member, name) ::orvo::Property<&Self::member>(ORVO_NAME(name))
#define ORVO_PROPERTY_EX(getter, setter, name)                                                     \
    ::orvo::PropertyEx<&Self::getter, &Self::setter>(ORVO_NAME(name))
#define ORVO_READONLY(getter, name) ::orvo::PropertyEx<&Self::getter>(ORVO_NAME(name))
// A method another module calls by the contract's name and signature; a member declared with
// any other signature does not compile.
#define ORVO_PROVIDE(Contract, fn) ::orvo::Provide<Contract, &Self::fn>()
#define ORVO_PROVIDE_GETTER(Contract, getter) ::orvo::ProvideGetter<Contract, &Self::getter>()

// Registers the class's factory (a new object per lookup) under its key, at load time.
#define ORVO_REGISTER_FACTORY(Class)                                                               \
    [[maybe_unused]] static const int ORVO_CONCAT(orvo_registered_, __LINE__) =                    \
        ::orvo::RegisterFactory<Class>();
