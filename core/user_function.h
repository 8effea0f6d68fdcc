#pragma once
// What a user library exports for "User." and "Message." event actions. Functions are looked
// up by name with C linkage:
//
//   extern "C" int  MyUserAction(XDO* object, const wchar_t* parameter);
//   extern "C" void MyMessageAction(XDO* object, XMessageContext* context, const wchar_t*
//   parameter);
//
// and named in markup as Action="User.Run(MyLib.dll, MyUserAction, any text)".
class XDO;
class XElement;

// The message or event that made a "Message." action run.
struct XMessageContext {
    int fromUp = 0;
    XElement* element = nullptr;
    XDO* sender = nullptr;
    XDO* origin = nullptr;
};

using XUserFunction = int (*)(XDO* object, const wchar_t* parameter);
using XMessageFunction = void (*)(XDO* object, XMessageContext* context, const wchar_t* parameter);
