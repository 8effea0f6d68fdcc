#pragma once
// XEdit ("Edit"): a single-line edit of the bound field, or of its own "Text". The editing is
// a native line edit (plat::LineEdit), so input methods compose Korean as everywhere else; it
// lies over the object's rectangle inside the window of the nearest window host, follows the
// layout and hides with the object. Enter and the loss of the focus commit a changed text to
// the field (or to "Text") and run the object event "Change"; Enter then triggers the gates
// linking the edit. Escape puts the committed text back. Until the user types, it shows the field's
// value as its source changes.
#include <memory>
#include <string>

#include "platform/base/colorref.h"
#include "platform/gui/line_edit.h"
#include "platform/gui/window.h"
#include "shell/bound_field.h"
#include "ui/xui.h"

class XWindow;

class XEdit : public XUI, private plat::LineEditHandler {
    ORVO_DISPATCH_MAP()

public:
    XEdit();
    ORVO_KEY(L"Edit")

    // "Text", "MaxLength", "ReadOnly", "TextColor", "BackColor" after the visual object's.
    int SetElement(XElement* e) override;
    // Makes the line edit in the host's window; without a live host window there is none, and
    // the object only paints.
    int CreateInstance() override;
    using XUI::Recalc;
    int Recalc(XRect* parent) override;
    int SetUIShow(int show, int create) override;
    void OnAncestorShown() override { Place(); }
    // A disabled edit shows its text and takes no typing.
    void SetUIDisable() override;
    int SetFocus() override;
    // A change of the data source shows the new value unless the user has typed since.
    void OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) override;

    // The committed text: the bound cell's value, else the own text.
    std::wstring GetText() const;
    // What gates and data links read and write: the committed text.
    void GetData(std::wstring* out) override;
    void SetData(const wchar_t* value) override;
    // Commits `text` as if typed and entered.
    void SetText(const std::wstring& text);
    // Commits what the user typed; false when nothing was typed.
    bool Commit();
    // Shows the committed text again.
    void Revert();
    // Null when the object has no line edit.
    plat::LineEdit* GetLineEdit() const { return m_edit.get(); }

protected:
    ~XEdit() override;
    void Teardown() override;

private:
    void OnCommit(plat::LineEdit&) override;
    void OnCancel(plat::LineEdit&) override;
    void OnFocus(plat::LineEdit&, bool gained) override;
    // Tab travels the screen's tab order when the screen declares one.
    bool OnTab(plat::LineEdit&, bool forward) override;

    XWindow* Host();
    // Moves the line edit over the rectangle and shows it while the object and every visual
    // object above it are shown.
    void Place();
    bool Store(const std::wstring& text);
    // Stores `text` and runs "Change" when it differs from the committed text; a refused or
    // equal text shows the committed one again. False when nothing changed or the object went.
    bool Apply(const std::wstring& text);

    orvo::BoundField m_field;
    std::unique_ptr<plat::LineEdit> m_edit;
    std::wstring m_text;
    int m_maxLength = 0;
    bool m_readOnly = false;
    COLORREF m_textColour = RGB(0, 0, 0);
    COLORREF m_backColour = RGB(255, 255, 255);
};
