#pragma once
// One call of an exported user function: the function's name, the calling object and its
// parameter text read into pieces. Every check that refuses the call tells the screen author
// why, through the notice service, in one form:
//
//   SetData : no object nowhere
//   User.Run(orvo, SetData, nowhere, 1)
//
// and the function then answers 0.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/xdo.h"
#include "shell/user_parameters.h"

namespace orvo {

class UserCall {
public:
    UserCall(const wchar_t* function, XDO* caller, const wchar_t* parameter);

    // A live caller, a balanced text and at least `needed` pieces; else the author is told
    // that `form` was expected.
    bool Check(std::size_t needed, std::wstring_view form) const;
    // Tells the author why nothing was done; answers 0.
    int Refuse(std::wstring_view reason) const;

    // The object the piece at `index` names, seen from the caller: a name (the caller itself
    // or the nearest object of that name), "opener." prefixes, "Link(...)" or a live "ptr:"
    // address. Null after telling the author.
    XDO* Target(std::size_t index) const;
    // The same object as a T, or null after telling the author it is not `kind`.
    template <class T> T* TargetAs(std::size_t index, std::wstring_view kind) const {
        XDO* found = Target(index);
        if (!found)
            return nullptr;
        T* typed = dynamic_cast<T*>(found);
        if (!typed)
            Refuse(At(index) + L" is not " + std::wstring(kind));
        return typed;
    }
    // The piece at `index` as a whole number ("-12"); false after telling the author.
    bool Integer(std::size_t index, int& out) const;
    // The piece at `index` as a value (UserParameters::ValueAt, "Data(...)" resolved from the
    // caller); false after telling the author.
    bool Value(std::size_t index, std::wstring& out) const;
    // The pieces from `first` on as items of `out` (UserParameters::ItemsFrom); false after
    // telling the author.
    bool Items(std::size_t first, XElement& out, bool resolveData) const;

    XDO* Caller() const { return m_caller; }
    const UserParameters& Parameters() const { return m_parameters; }
    const std::wstring& At(std::size_t index) const { return m_parameters.At(index); }
    std::size_t Count() const { return m_parameters.Count(); }

private:
    std::wstring_view m_function;
    XDO* m_caller;
    UserParameters m_parameters;
};

} // namespace orvo
