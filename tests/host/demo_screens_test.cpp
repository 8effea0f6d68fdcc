// kestrel as a screen author runs it in CI: the demo opens headless, an input script fills in
// the order ticket, and the screenshots of its windows match their references.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/golden_image.h"
#include "support/temp_dir.h"

namespace orvo::test {
namespace {

const GoldenPlace kPlace{ORVO_HOST_GOLDEN_DIR, ORVO_HOST_GOLDEN_FAILURES};

struct KestrelRun {
    int status = -1;
    std::string output; // stdout and stderr
};

KestrelRun Kestrel(const std::string& arguments, const char* backend = "none") {
    const std::string command = std::string(ORVO_KESTREL) + " --project " + ORVO_DEMO_DIR +
                                " --headless --backend " + backend + " " + arguments + " 2>&1";
    KestrelRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Input(const char* name) {
    return std::string(ORVO_HOST_INPUT_DIR) + "/" + name;
}

TEST(DemoScreensTest, TheOrderTicketTakesTypedInputAndTheScreensLookAsTheyShould) {
    ::TempDir shots;
    const KestrelRun run =
        Kestrel("--input " + Input("order_ticket.txt") + " --screenshot " + shots.Path().string());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("매수 주문: 삼성전자 25주 @ 71500"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("2 screenshot(s)"), std::string::npos) << run.output;
    for (const char* frame : {"Kestrel", "OrderTicket"}) {
        const QImage image(
            QString::fromStdString((shots.Path() / (std::string(frame) + ".png")).string()));
        ASSERT_FALSE(image.isNull()) << frame;
        // A little room for antialiased text.
        EXPECT_TRUE(MatchesGolden(image, std::string("demo_") + frame, kPlace, 8)) << frame;
    }
}

QImage Shot(const ::TempDir& shots, const char* frame) {
    return QImage(QString::fromStdString((shots.Path() / (std::string(frame) + ".png")).string()));
}

// Tab and Shift+Tab travel the ticket's edits and buttons; the focused button shows its ring.
TEST(DemoScreensTest, TheOrderTicketTravelsByTabAndSpacePressesTheFocusedButton) {
    ::TempDir shots;
    const KestrelRun run =
        Kestrel("--input " + Input("order_keys.txt") + " --screenshot " + shots.Path().string());
    ASSERT_EQ(run.status, 0) << run.output;
    const QImage ticket = Shot(shots, "OrderTicket");
    ASSERT_FALSE(ticket.isNull());
    EXPECT_TRUE(MatchesGolden(ticket, "demo_order_by_keys", kPlace, 8));
}

// On the simulated exchange: the code typed on the quote board brings its quote into the
// first row at once, an order bought on the ticket shows its fill, and after a few seconds of
// the test clock the ticks have moved the rows.
TEST(DemoScreensTest, ACodeTypedOnTheQuoteBoardBringsItsQuoteAndTicksMoveIt) {
    ::TempDir now;
    ::TempDir later;
    KestrelRun run = Kestrel(
        "--input " + Input("live_quote_now.txt") + " --screenshot " + now.Path().string(), "sim");
    ASSERT_EQ(run.status, 0) << run.output;
    run = Kestrel("--input " + Input("live_quote.txt") + " --screenshot " + later.Path().string(),
                  "sim");
    ASSERT_EQ(run.status, 0) << run.output;
    const QImage first = Shot(now, "Kestrel");
    const QImage moved = Shot(later, "Kestrel");
    ASSERT_FALSE(first.isNull() || moved.isNull());
    EXPECT_TRUE(MatchesGolden(first, "demo_live_quote", kPlace, 8));
    EXPECT_TRUE(MatchesGolden(moved, "demo_live_quote_moved", kPlace, 8));
    const QImage filled = Shot(now, "OrderTicket");
    ASSERT_FALSE(filled.isNull());
    EXPECT_TRUE(MatchesGolden(filled, "demo_live_order_fill", kPlace, 8));
    EXPECT_NE(first, moved) << "the ticks changed nothing";
}

// The watch list's view buttons on the simulated exchange: the last one chosen sorts every name
// by its change, largest first, while ticks keep arriving.
TEST(DemoScreensTest, TheWatchListsViewsFilterAndSortItsRows) {
    ::TempDir shots;
    const KestrelRun run = Kestrel(
        "--input " + Input("watch_views.txt") + " --screenshot " + shots.Path().string(), "sim");
    ASSERT_EQ(run.status, 0) << run.output;
    const QImage sorted = Shot(shots, "Kestrel");
    ASSERT_FALSE(sorted.isNull());
    EXPECT_TRUE(MatchesGolden(sorted, "demo_watch_by_change", kPlace, 8));
}

TEST(DemoScreensTest, InputScriptMistakesNameTheirLineAndFail) {
    KestrelRun run = Kestrel("--input " + Input("bad_address.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("bad_address.txt:3: no object \"nowhere\""), std::string::npos)
        << run.output;
    run = Kestrel("--input " + Input("bad_syntax.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("bad_syntax.txt:2: unknown command \"press\""), std::string::npos)
        << run.output;
    run = Kestrel("--input " + Input("missing.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("missing.txt: cannot be read"), std::string::npos) << run.output;
}

} // namespace
} // namespace orvo::test
