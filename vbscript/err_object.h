#pragma once
// The Err object as a value: what `Set e = Err`, `TypeName(Err)` and an Err passed as an
// argument see. Its members read and write the engine's error state, which it shares, so
// one kept after the engine is gone stays safe to use.
#include <memory>

#include "vbscript/runtime.h"
#include "vbscript/value.h"

namespace vbs {

class ErrObject final : public Object {
public:
    explicit ErrObject(std::shared_ptr<Runtime::ErrorState> state) : m_state(std::move(state)) {}

    std::wstring ClassName() const override { return L"ErrObject"; }
    // Number (the default), Description, Source, HelpFile, HelpContext, Clear and Raise.
    Value Invoke(std::wstring_view name, Access access, std::span<Value> args) override;
    // Every Err value is the same object: `Err Is e` holds for `Set e = Err`.
    const void* Identity() const override { return m_state.get(); }

private:
    [[noreturn]] void Raise(std::span<Value> args);

    std::shared_ptr<Runtime::ErrorState> m_state;
};

} // namespace vbs
