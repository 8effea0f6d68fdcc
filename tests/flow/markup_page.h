#pragma once
// A page opened from markup the way a screen is, with the messages shown to the screen author
// recorded, and elements parsed from markup for the objects that read them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "support/recording_presenter.h"

namespace test {

class MarkupPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
    }
    // Replaces the page opened before, if any.
    void Open(std::string_view markup) {
        page.reset();
        page.reset(XScrMan::Instance().OpenPageMem(Parse(markup).release(), nullptr, nullptr));
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override {
        page.reset();
        XNoticeMan::Instance().SetPresenter(previous);
    }
    template <class T> T* Find(const wchar_t* name) {
        return dynamic_cast<T*>(page->GetObjByNameDown(name));
    }
    static std::unique_ptr<XElement> Parse(std::string_view markup) {
        XElement* root = nullptr;
        return std::unique_ptr<XElement>(XMLParser().ParseMemory(markup, &root) ? root : nullptr);
    }
    std::vector<std::wstring> Confirms() const {
        std::vector<std::wstring> texts;
        for (const auto& c : notices.confirms)
            texts.push_back(c.text);
        return texts;
    }

    RecordingPresenter notices;
    orvo::NoticePresenter* previous = nullptr;
    orvo::XDOPtr page;
};

} // namespace test
