#pragma once
// XTextBox ("TextBox"): one line of text painted by its theme style: the bound field's value,
// else its own "Text", shown through a format and placed by "Text_Align". The style's "Text"
// primitive draws it in the style's colours; a style without one still shows it, in the
// device context's text colour. It repaints when its data source tells of a change.
#include <string>

#include "shell/bound_field.h"
#include "ui/xui.h"

class XTextBox : public XUI {
    ORVO_DISPATCH_MAP()

public:
    XTextBox();
    ORVO_KEY(L"TextBox")

    // "Text" and "Text_Align" after the visual object's attributes.
    int SetElement(XElement* e) override;
    int CreateInstance() override;
    void Draw(CDC* dc) override;
    void DrawContent(CDC* dc, CRect& rect, CUIEvent* event, CUIPaintText* text) override;

    // The bound cell's value, else the own text; unformatted.
    std::wstring GetText() const;
    // Sets the own text, shown while no field is bound.
    void SetText(const std::wstring& text);
    // What gates and data links read and write: the bound cell, else the own text.
    void GetData(std::wstring* out) override;
    void SetData(const wchar_t* value) override;
    // What is painted: the text through the object's "Format", else the field's format.
    std::wstring GetShownText() const;
    unsigned GetTextFormat() const { return m_textFormat; }

protected:
    ~XTextBox() override = default;

private:
    // Draws the shown text into `rect` by the alignment; through `text` when the style has one.
    void DrawShownText(CDC* dc, const CRect& rect, CUIEvent* event, CUIPaintText* text) const;

    orvo::BoundField m_field;
    std::wstring m_text;
    unsigned m_textFormat;
    bool m_contentDrawn = false; // the style drew the text during this Draw
};
