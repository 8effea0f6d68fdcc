#include "ui/xgrid.h"

#include <memory>
#include <sstream>

#include "core/contracts.h"
#include "core/element.h"
#include "core/message.h"
#include "core/scr_man.h"
#include "platform/base/nocase.h"
#include "platform/gui/window.h"
#include "ui/xgrid_client.h"
#include "ui/xtable.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XGrid>();

constexpr const wchar_t* kScrollMessages[] = {L"#VScrollSet#", L"#HScrollSet#", L"#ScrollPos#"};

// The "Object" section of `settings` named `name`; made when `create`.
XElement* NamedSection(XElement* settings, const std::wstring& name, bool create) {
    if (!settings || name.empty())
        return nullptr;
    for (XElement* c = settings->GetFirstChild(); c; c = c->GetNextSibling()) {
        std::wstring found;
        if (plat::EqualsNoCase(c->GetTagName(), L"Object") && c->GetValue(L"name", found) &&
            plat::EqualsNoCase(found, name))
            return c;
    }
    if (!create)
        return nullptr;
    auto* section = new XElement(L"Object", settings);
    section->SetValue(L"name", name);
    settings->AppendChild(section);
    return section;
}

// A child element `tag` of `parent` with the attributes given as pairs.
XElement*
AppendElement(XElement& parent,
              const wchar_t* tag,
              std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes) {
    auto* child = new XElement(tag, &parent);
    for (const auto& [key, value] : attributes)
        child->SetValue(key, value);
    parent.AppendChild(child);
    return child;
}

} // namespace

ORVO_DISPATCH(XGrid,
              XWindow,
              ORVO_METHOD(GetFieldIndex),
              ORVO_METHOD(GridToDataField),
              ORVO_METHOD(DataToGridField),
              ORVO_METHOD(ConvertedRow),
              ORVO_METHOD(SetRecordSize),
              ORVO_METHOD(Scroll),
              ORVO_METHOD(CenterRow),
              ORVO_METHOD(MakeSelectRowVisible),
              ORVO_METHOD(IsDblClick),
              ORVO_METHOD(GetSelectRow),
              ORVO_METHOD(GetSelectCol),
              ORVO_METHOD(SetSelectRow),
              ORVO_METHOD(SetSelectCol),
              ORVO_METHOD(GetStartRow),
              ORVO_METHOD(GetEndRow),
              ORVO_METHOD(GetColPos),
              ORVO_METHOD(ShowCol),
              ORVO_METHOD(HideCol),
              ORVO_METHOD(StartEdit),
              ORVO_METHOD_AS(GetClientVB, GetClient),
              ORVO_PROPERTY_EX(GetReverseRow, SetReverseRow, ReverseRow))

XGrid::XGrid() {
    m_nStyle |= XDO_STYLE_NATIVEWND | XDO_STYLE_GRID;
}

// ---- building
// ------------------------------------------------------------------------------------

int XGrid::SetElement(XElement* e) {
    if (!XWnd::SetElement(e) || !e)
        return 0;
    e->GetBool(L"ShowTail", m_bShowTail);
    e->GetBool(L"BlockScrollMsg", m_bBlockScrollMsg);
    e->GetValue(L"SelectKey", m_selectKey);
    e->GetValue(L"SelectKeyField", m_selectKeyField);
    int cols = 0;
    if (e->GetValue(L"Col", cols) && cols > 0 && cols <= XTable::kMaxItems)
        BuildFrame(e);
    return 1;
}

void XGrid::BuildFrame(XElement* e) {
    XElement frame(L"Table");
    frame.SetValue(L"Row", 2);
    frame.SetValue(L"Col", 2);
    frame.SetValue(L"Rect", L"0,0,100%,100%");
    frame.SetValue(L"Style", L"Hollow");
    AppendElement(frame, L"Table.Row", {{L"Row", L"1"}, {L"Height", L"0"}});
    AppendElement(frame, L"Table.Col", {{L"Col", L"1"}, {L"Width", L"0"}});
    XElement* client = AppendElement(
        frame, L"Table.Item", {{L"Row", L"0"}, {L"Col", L"0"}, {L"Based", L"GridClient"}});
    if (const std::wstring* delay = e->FindValue(L"PaintDelay"))
        client->SetValue(L"PaintDelay", *delay);
    AppendElement(frame, L"Table.Item", {{L"Row", L"1"}, {L"Col", L"0"}, {L"Based", L"Cell"}});
    AppendElement(frame, L"Table.Item", {{L"Row", L"0"}, {L"Col", L"1"}, {L"Based", L"Cell"}});
    auto* table = dynamic_cast<XTable*>(XScrMan::Instance().MakeScrObj(&frame, this));
    auto* made = table ? dynamic_cast<XGridClient*>(table->GetSubItem(0, 0)) : nullptr;
    if (!made)
        return;
    m_frame = table->WeakRef();
    m_client = made->WeakRef();
    made->SetGrid(this);
    made->Configure(e);
}

int XGrid::SetMethod(const wchar_t* name, XElement* e) {
    XGridClient* client = GetClient();
    const std::wstring_view method(name ? name : L"");
    if (plat::EqualsNoCase(method, L"Head") || plat::EqualsNoCase(method, L"Body") ||
        plat::EqualsNoCase(method, L"Tail")) {
        if (client && (m_bShowTail || !plat::EqualsNoCase(method, L"Tail")))
            client->DefineTable(name, e);
    } else if (plat::EqualsNoCase(method, L"Col")) {
        if (client)
            client->DefineCol(e);
    } else if (plat::EqualsNoCase(method, L"VScroll") || plat::EqualsNoCase(method, L"HScroll")) {
        DefineScroll(e, plat::EqualsNoCase(method, L"VScroll"));
    } else if (plat::EqualsNoCase(method, L"Extra")) {
        if (client)
            client->DefineExtra(e);
    } else {
        return XWnd::SetMethod(name, e);
    }
    return 1;
}

void XGrid::DefineScroll(XElement* e, bool vertical) {
    XTable* frame = GetFrame();
    if (!frame || !e)
        return;
    std::wstring size = L"15";
    e->GetValue(L"Size", size);
    XElement entry(vertical ? L"Table.Col" : L"Table.Row");
    entry.SetValue(vertical ? L"Col" : L"Row", 1);
    entry.SetValue(vertical ? L"Width" : L"Height", size);
    XScrMan& screens = XScrMan::Instance();
    screens.MakeScrObj(&entry, frame);
    XDO* cell = vertical ? frame->GetSubItem(0, 1) : frame->GetSubItem(1, 0);
    if (cell && e->GetFirstChild())
        screens.MakeScrObj(e->GetFirstChild(), cell);
    if (!vertical)
        m_bHScroll = true;
}

int XGrid::CreateInstance() {
    if (!GetClient())
        return XWindow::CreateInstance(); // no columns: nothing to show, no window
    if (m_bBlockScrollMsg)
        BlockScrollMessages();
    return XWnd::CreateInstance();
}

void XGrid::BlockScrollMessages() {
    for (const wchar_t* name : kScrollMessages) {
        XElement declaration(L"Message");
        declaration.SetValue(L"Name", name);
        declaration.SetValue(L"SendUp", L"False");
        declaration.SetValue(L"SendDown", L"True");
        declaration.SetValue(L"FromUp", L"False");
        declaration.SetValue(L"FromDown", L"True");
        auto message = std::make_unique<XMessage<XDO>>();
        message->SetElement(&declaration);
        AddMessage(std::move(message));
    }
}

int XGrid::RunObjectEvent(int id) {
    const orvo::IXORef alive = WeakRef();
    const int result = XWnd::RunObjectEvent(id);
    if (alive.Alive() && id == EVT_INITIALIZE)
        SelectByKey();
    return result;
}

void XGrid::SelectByKey() {
    XGridClient* client = GetClient();
    XMetaIOData* source = client ? client->GetSource() : nullptr;
    if (!source || m_selectKey.empty() || m_selectKeyField.empty())
        return;
    const int field = source->GetFieldIndex(m_selectKeyField.c_str());
    if (field < 0)
        return;
    std::wstring value;
    for (int row = 0; row < source->GetRows(); ++row) {
        if (source->GetVal(row, field, value) && value == m_selectKey) {
            const int shown = client->ConvertedRow(row);
            client->SetSelectRow(shown);
            client->MakeSelectRowVisible();
            return;
        }
    }
}

void XGrid::OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) {
    XRect::OnNotifierChanged(notifier, notifyId, a, b);
    if (XGridClient* client = GetClient())
        client->OnNotifierChanged(notifier, notifyId, a, b);
}

// ---- saving
// --------------------------------------------------------------------------------------

void XGrid::SaveObject(XElement* settings) {
    XWnd::SaveObject(settings);
    XTable* head = GetHead();
    XElement* section = IsSaveLoad() && head ? NamedSection(settings, GetName(), true) : nullptr;
    if (!section)
        return;
    std::wstring order;
    for (int column : head->GetDisplayOrder())
        order += std::to_wstring(column) + L" ";
    section->SetValue(L"ColIndex", order);
    XGridClient* client = GetClient();
    XMetaIOData* source = client ? client->GetSource() : nullptr;
    const int field =
        source && !m_selectKeyField.empty() ? source->GetFieldIndex(m_selectKeyField.c_str()) : -1;
    std::wstring key;
    const int row = client ? client->ConvertedRow(client->GetSelectRow()) : -1;
    if (field >= 0 && client->GetSelectRow() >= 0 && source->GetVal(row, field, key))
        section->SetValue(L"SelectKey", key);
}

void XGrid::LoadObject(XElement* settings) {
    XWnd::LoadObject(settings);
    const XElement* section = NamedSection(settings, GetName(), false);
    XTable* head = GetHead();
    if (!section || !head)
        return;
    std::wstring text;
    if (section->GetValue(L"ColIndex", text)) {
        std::vector<int> order;
        std::wistringstream in(text);
        for (int column = 0; in >> column;)
            order.push_back(column);
        head->SetDisplayOrder(order);
    }
    if (section->GetValue(L"SelectKey", text) && !text.empty()) {
        m_selectKey = text;
        SelectByKey();
    }
}

// ---- parts
// ---------------------------------------------------------------------------------------

XGridClient* XGrid::GetClient() const {
    return static_cast<XGridClient*>(m_client.Get());
}

XDO* XGrid::GetClientVB() {
    return GetClient();
}

XTable* XGrid::GetFrame() const {
    return static_cast<XTable*>(m_frame.Get());
}

XTable* XGrid::GetHead() const {
    const XGridClient* client = GetClient();
    return client ? client->GetHead() : nullptr;
}

XTable* XGrid::GetBody() const {
    const XGridClient* client = GetClient();
    return client ? client->GetBody() : nullptr;
}

XTable* XGrid::GetTail() const {
    const XGridClient* client = GetClient();
    return client ? client->GetTail() : nullptr;
}

void XGrid::ShowHScroll(bool show) {
    XTable* frame = GetFrame();
    if (!m_bHScroll || !frame || frame->VisibleRow(1) == show)
        return;
    show ? frame->ShowRow(1) : frame->HideRow(1);
}

// ---- script interface
// ----------------------------------------------------------------------------

int XGrid::GetFieldIndex(const wchar_t* name) {
    const XGridClient* client = GetClient();
    return client ? client->GetFieldIndex(name) : -1;
}

int XGrid::GridToDataField(int column) {
    const XGridClient* client = GetClient();
    return client ? client->GridToDataField(column) : -1;
}

int XGrid::DataToGridField(int field) {
    const XGridClient* client = GetClient();
    return client ? client->DataToGridField(field) : -1;
}

int XGrid::ConvertedRow(int row) {
    const XGridClient* client = GetClient();
    return client ? client->ConvertedRow(row) : row;
}

void XGrid::SetRecordSize(int count) {
    if (XGridClient* client = GetClient())
        client->SetRecordSize(count);
}

void XGrid::Scroll(int delta) {
    if (XGridClient* client = GetClient())
        client->Scroll(delta);
}

void XGrid::CenterRow(int row) {
    if (XGridClient* client = GetClient())
        client->CenterRow(row);
}

bool XGrid::MakeSelectRowVisible() {
    XGridClient* client = GetClient();
    return client && client->MakeSelectRowVisible();
}

bool XGrid::IsDblClick() {
    const XGridClient* client = GetClient();
    return client && client->IsDblClick();
}

int XGrid::GetSelectRow() {
    const XGridClient* client = GetClient();
    return client ? client->GetSelectRow() : -1;
}

int XGrid::GetSelectCol() {
    const XGridClient* client = GetClient();
    return client ? client->GetSelectCol() : -1;
}

void XGrid::SetSelectRow(int row) {
    if (XGridClient* client = GetClient())
        client->SetSelectRow(row);
}

void XGrid::SetSelectCol(int column) {
    if (XGridClient* client = GetClient())
        client->SetSelectCol(column);
}

int XGrid::GetStartRow() {
    const XGridClient* client = GetClient();
    return client ? client->GetStartRow() : 0;
}

int XGrid::GetEndRow() {
    const XGridClient* client = GetClient();
    return client ? client->GetEndRow() : -1;
}

bool XGrid::GetColPos(int column, int& left, int& width) {
    const XGridClient* client = GetClient();
    return client && client->GetColPos(column, left, width);
}

bool XGrid::ShowCol(int column) {
    XGridClient* client = GetClient();
    return client && client->ShowCol(column);
}

bool XGrid::HideCol(int column) {
    XGridClient* client = GetClient();
    return client && client->HideCol(column);
}

void XGrid::RepaintVB() {
    if (XGridClient* client = GetClient())
        client->Refresh();
    Repaint(nullptr);
}

bool XGrid::GetReverseRow() const {
    const XGridClient* client = GetClient();
    return client && client->GetReverseRow();
}

void XGrid::SetReverseRow(bool reverse) {
    if (XGridClient* client = GetClient())
        client->SetReverseRow(reverse);
}

bool XGrid::StartEdit(
    int row, int column, const wchar_t* page, const wchar_t* pathKind, const wchar_t* more) {
    XGridClient* client = GetClient();
    XMetaIOData* source = client ? client->GetSource() : nullptr;
    const XUI* object = client ? client->GetBodyObject(column) : nullptr;
    if (!client || !client->GetNativeWindow() || !source || !object || object->GetDataField() < 0)
        return false;
    CRect cell = client->GetCellRect(row, column);
    if (cell.IsRectEmpty())
        return false;
    std::wstring value;
    source->GetVal(client->ConvertedRow(row), object->GetDataField(), value);
    static orvo::ContractCall<orvo::contract::ProjectGetPath> s_getPath;
    std::wstring path;
    if (auto getPath = s_getPath.Get())
        getPath(pathKind ? pathKind : L"", &path);
    path += page ? page : L"";
    CPoint topLeft = cell.TopLeft();
    if (!ClientToScreen(topLeft))
        return false;
    cell.MoveToXY(topLeft.x, topLeft.y);
    XElement parameters(L"Param");
    parameters.SetValue(L"RectFrame",
                        std::to_wstring(cell.left) + L"," + std::to_wstring(cell.top) + L"," +
                            std::to_wstring(cell.right) + L"," + std::to_wstring(cell.bottom));
    parameters.SetValue(L"Width", cell.Width());
    parameters.SetValue(L"Height", cell.Height());
    parameters.SetValue(L"__Opener", XdoToPtr(this));
    parameters.SetValue(L"Text", value);
    parameters.SetValue(L"GridRow", row);
    parameters.SetValue(L"GridCol", column);
    parameters.SetValue(L"HScroll", L"True");
    if (more && *more)
        parameters.MakeValue(more);
    return XScrMan::Instance().OpenPage(path.c_str(), nullptr, &parameters) != nullptr;
}

// ---- native
// --------------------------------------------------------------------------------------

CRect XGrid::GetBodyRect() const {
    const XGridClient* client = GetClient();
    return client ? client->GetBodyRect() : CRect();
}

CRect XGrid::GetCellRect(int row, int column) const {
    const XGridClient* client = GetClient();
    return client ? client->GetCellRect(row, column) : CRect();
}

int XGrid::GetRowPerPage() const {
    const XGridClient* client = GetClient();
    return client ? client->GetRowPerPage() : 0;
}

bool XGrid::ClientToScreen(CPoint& point) const {
    const XGridClient* client = GetClient();
    plat::Window* window = client ? client->GetNativeWindow() : nullptr;
    if (!window)
        return false;
    point = window->ClientToScreen(CPoint(point.x - client->GetLogX(), point.y));
    return true;
}

bool XGrid::InsertCol(int index, XElement* e) {
    XGridClient* client = GetClient();
    return client && client->InsertCol(index, e);
}

bool XGrid::DeleteCol(int index) {
    XGridClient* client = GetClient();
    return client && client->DeleteCol(index);
}
