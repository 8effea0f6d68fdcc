#pragma once
// The functions liborvo.so exports for "User." and "Message." event actions, by their plain
// names (Action="User.Run(orvo, SetData, price, 71000)"). Every user-form function answers 1
// when it did its work and 0, after telling the screen author why, when the parameter text or
// the screen does not allow it (orvo::UserCall). The parameter text form of each is listed
// beside its definition and in the top-level README.
//
// Exported elsewhere: GateTrigger (flow/xgate.h), DataSequenceSend, DataSequenceSendCallBack
// (flow/xdata_sequence.h), OnReceiveDataRequester (flow/data_requester.h), CancelCloseFrame,
// ConfirmCloseFrame (ui/xframe.h), StructEmpty (data/struct.h).
#include "core/user_function.h"

extern "C" {

// ---- messaging and events (user_messaging.cpp) ----------------------------------------------
int PostMsg(XDO* caller, const wchar_t* parameter);
int BroadcastMsg(XDO* caller, const wchar_t* parameter);
int LibNotifyEvent(XDO* caller, const wchar_t* parameter);
int LibRelayEvent(XDO* caller, const wchar_t* parameter);
int LoaderRunMethod(XDO* caller, const wchar_t* parameter);
int RunByMenuID(XDO* caller, const wchar_t* parameter);
int RunByMenuIDX(XDO* caller, const wchar_t* parameter);

// ---- screens and frames (user_screens.cpp) --------------------------------------------------
int OpenFrame(XDO* caller, const wchar_t* parameter);
int OpenFrameDirect(XDO* caller, const wchar_t* parameter);
int MsgBox(XDO* caller, const wchar_t* parameter);
int DisplayMsg(XDO* caller, const wchar_t* parameter);
int SetTextCaption(XDO* caller, const wchar_t* parameter);
int TopmostStyle(XDO* caller, const wchar_t* parameter);
int SetFocusUI(XDO* caller, const wchar_t* parameter);
int SetObjTimer(XDO* caller, const wchar_t* parameter);
int SetUserState(XDO* caller, const wchar_t* parameter);

// ---- data (user_data.cpp) -------------------------------------------------------------------
int SetData(XDO* caller, const wchar_t* parameter);
int CopyDataValue(XDO* caller, const wchar_t* parameter);
int ClearStruct(XDO* caller, const wchar_t* parameter);
int StructData2Text(XDO* caller, const wchar_t* parameter);
int SetSTFieldValue(XDO* caller, const wchar_t* parameter);

// ---- controls (user_controls.cpp) -----------------------------------------------------------
int SpinUp(XDO* caller, const wchar_t* parameter);
int SpinDown(XDO* caller, const wchar_t* parameter);
int ScrollUp(XDO* caller, const wchar_t* parameter);
int ScrollDown(XDO* caller, const wchar_t* parameter);
int ScrollNumUp(XDO* caller, const wchar_t* parameter);
int ScrollNumDown(XDO* caller, const wchar_t* parameter);
int ScrollPage(XDO* caller, const wchar_t* parameter);
int SelectTabPanel(XDO* caller, const wchar_t* parameter);
// Message form only: Action="Message.Run(orvo, MsgVScrollSet, bar)".
void MsgVScrollSet(XDO* caller, XMessageContext* context, const wchar_t* parameter);
void MsgHScrollSet(XDO* caller, XMessageContext* context, const wchar_t* parameter);

} // extern "C"
