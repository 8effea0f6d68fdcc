#pragma once
// The methods the data model calls by name, and the contract every communication back end
// fulfils. Back ends publish these with ORVO_PROVIDE; "CommMan" resolves them on the back
// end the host registers and answers its fixed fallbacks for the ones missing.
#include "core/contracts.h"

class CMetaItem;
class XMetaData;
class XStruct;
class XTR;

namespace orvo::contract {

// ---- definition sets ---------------------------------------------------------------------------
ORVO_CONTRACT(MetaSetGetMetaDataByName,
              L"metaset",
              GetMetaDataByName,
              XMetaData*(const wchar_t* name))
ORVO_CONTRACT(MetaSetGetMetaDataByID, L"metaset", GetMetaDataByID, CMetaItem*(const wchar_t* id))
ORVO_CONTRACT(StructureSetGetStructByName,
              L"StructureSet",
              GetStructByName,
              XStruct*(const wchar_t* name))
ORVO_CONTRACT(TRSetGetTRByID, L"TRSet", GetTRByID, XTR*(const wchar_t* id))
// What an "input" or "output" container hands its structure to (a transaction).
ORVO_CONTRACT(SetInputStruct, nullptr, SetInputStruct, void(XStruct* input))
ORVO_CONTRACT(SetOutputStruct, nullptr, SetOutputStruct, void(XStruct* output))

// ---- the communication back end ---------------------------------------------------------------
// Connect or prepare; "CommMan" accepts requests only after this succeeded.
ORVO_CONTRACT(BackEndInit, nullptr, Init, bool())
// Shut down: pending answers and real-time registrations are dropped.
ORVO_CONTRACT(BackEndFinal, nullptr, Final, bool())
// Send `request` (rows in the layout of tr's input structure) as transaction `tr`; a handle
// above 0, or 0 when refused. Answers come later, never inside this call.
ORVO_CONTRACT(BackEndRequest, nullptr, Request, int(XTR* tr, XStruct* request, XDO* requester))
// No answer for `handle` arrives after this; handle 0 ends everything of `requester`.
ORVO_CONTRACT(BackEndUnRequest, nullptr, UnRequest, bool(int handle, XDO* requester))
// Register `requester` for the real-time transaction `tr` (trId is its numeric id).
ORVO_CONTRACT(BackEndRegPushTr, nullptr, RegPushTr, bool(int trId, XTR* tr, XDO* requester))
ORVO_CONTRACT(BackEndSetRequestFP, nullptr, SetRequestFP, bool(void* function))
ORVO_CONTRACT(BackEndReceive, nullptr, Receive, bool(const void* data, int length))
ORVO_CONTRACT(BackEndGetPoint,
              nullptr,
              GetPoint,
              double(const wchar_t* code, const wchar_t* kind, double price, double point))
ORVO_CONTRACT(BackEndGetPointValue,
              nullptr,
              GetPointValue,
              double(const wchar_t* code, const wchar_t* kind, const wchar_t* value))
ORVO_CONTRACT(BackEndSetPoint,
              nullptr,
              SetPoint,
              void(const wchar_t* code, const wchar_t* kind, double value))
ORVO_CONTRACT(BackEndSetPointValue,
              nullptr,
              SetPointValue,
              void(const wchar_t* code, const wchar_t* kind, double value))
ORVO_CONTRACT(BackEndGetMarketDate, nullptr, GetMarketDate, int())
ORVO_CONTRACT(BackEndSetMarketDate, nullptr, SetMarketDate, void(int date))
ORVO_CONTRACT(BackEndBeReconnect, nullptr, BeReconnect, bool())
// Each answer: the back end calls this on the requester (held weakly) with a structure in the
// layout of the output structure; it stays valid until the requester's next answer for the
// same request, or until "UnRequest"/"Final".
ORVO_CONTRACT(RequesterOnReceiveData, nullptr, OnReceiveData, int(XStruct* received))
// The structure a requester sends (one record), or null: a back end reads from it what a
// real-time registration is for (its "code").
ORVO_CONTRACT(RequesterGetRequestStruct, nullptr, GetRequestStruct, XStruct*())

// ---- what the host calls on "CommMan" -----------------------------------------------------------
ORVO_CONTRACT(CommManRegCommMan, L"CommMan", RegCommMan, bool(IXO* backEnd))
ORVO_CONTRACT(CommManInitializeIXO, L"CommMan", InitializeIXO, bool())
ORVO_CONTRACT(CommManFinal, L"CommMan", Final, bool())

} // namespace orvo::contract
