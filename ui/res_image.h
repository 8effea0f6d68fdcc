#pragma once
// CResImg: an image the resource service ("ResMan") keeps: an icon or a bitmap, loaded from
// the element that declares it and drawn into a rectangle.
#include <string>

#include "platform/base/geometry.h"

class CDC;
class CDib;
class XElement;

class CResImg {
public:
    enum Kind : int { KIND_ICON = 0, KIND_BITMAP = 1 };

    virtual ~CResImg();
    CResImg(const CResImg&) = delete;
    CResImg& operator=(const CResImg&) = delete;

    // Loads the file the element names ("File" under the folder of the path alias "Path");
    // 0 when it cannot be had.
    virtual int Load(const XElement* element) = 0;
    virtual void Draw(CDC* dc, const CRect& rect) = 0;

    Kind GetKind() const { return m_kind; }
    // The file as found on disk; empty before a load.
    const std::wstring& GetFilePath() const { return m_filePath; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

protected:
    explicit CResImg(Kind kind) : m_kind(kind) {}

    // "File", joined under the folder of "Path" when there is one. False when "Path" names no
    // alias or the file would climb out of that folder.
    bool ResolveFile(const XElement* element);
    // Decodes the resolved file into `dib`; false when it is no regular file holding an image
    // the DC can draw.
    bool DecodeFile(CDib& dib) const;
    void SetSize(int width, int height) {
        m_width = width;
        m_height = height;
    }

private:
    Kind m_kind;
    std::wstring m_filePath;
    int m_width = 0;
    int m_height = 0;
};
