// Target files in each form the tool prints, and what is refused, naming file, line and value.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

#include "search/target_file.h"

namespace vesk {
namespace {

std::vector<std::int32_t> Read(const std::string& text) {
    return ParseTargetText(text, "t").Degrees();
}

// What reading refuses, or "accepted".
template <typename TRead> std::string RefusalOf(TRead read) {
    try {
        read();
    } catch (const ETargetError& error) {
        return error.what();
    }
    return "accepted";
}

std::string Refusal(const std::string& text) {
    return RefusalOf([&] { ParseTargetText(text, "target.txt"); });
}

TEST(TargetFile, ReadsPlainCsvAndJson) {
    const std::vector<std::int32_t> expected{33, 0, 100, 7};
    EXPECT_EQ(Read("33 0 100 7\n"), expected);
    EXPECT_EQ(Read("33\n0\t100\r\n\n  7"), expected);
    EXPECT_EQ(Read("element,degree\n0,33\n1,0\r\n2, 100\n3,7\n\n"), expected);
    EXPECT_EQ(Read("[33,0,100,7]\n"), expected);
    EXPECT_EQ(Read("  [\n 33,\n 0, 100,\n 7 ]"), expected);
    // What "vesk reference" prints reads back as the reference.
    TFuzzySet reference;
    reference.MakeReference(100);
    std::string plain, csv = "element,degree", json = "[";
    for (std::size_t i = 0; i < reference.Degrees().size(); ++i) {
        const std::string d = std::to_string(reference.Degrees()[i]);
        plain += (i ? " " : "") + d;
        csv += "\n" + std::to_string(i) + "," + d;
        json += (i ? "," : "") + d;
    }
    for (const std::string& text : {plain, csv, json + "]"})
        EXPECT_EQ(Read(text), reference.Degrees());
    // And what the window saves of a target reads back as that target.
    EXPECT_EQ(TargetText(ParseTargetText("0 50 100", "t")), "0\n50\n100\n");
    EXPECT_EQ(Read(TargetText(reference)), reference.Degrees());
}

TEST(TargetFile, RefusesWhatIsNotADegreeNamingFileLineAndValue) {
    EXPECT_EQ(Refusal("1 2\n3 x4\n"), "target.txt:2: 'x4' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("101"), "target.txt:1: '101' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("5 -1"), "target.txt:1: '-1' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("50.0"), "target.txt:1: '50.0' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("element,degree\n0,1\n2,5\n"), "target.txt:3: '2' is not the element 1");
    EXPECT_EQ(Refusal("element,degree\n0,1\n1;5\n"),
              "target.txt:3: '1;5' is not a row element,degree");
    EXPECT_EQ(Refusal("[1,\n2,\n 300]"),
              "target.txt:3: '300' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("[1, \"2\"]"),
              "target.txt:1: '\"2\"' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("[1, 2.5]"), "target.txt:1: '2.5' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("[1,\n 2"), "target.txt:2: not a JSON array of degrees (malformed near '2')");
    EXPECT_EQ(Refusal(" \n\n"), "target.txt: no degrees");
    EXPECT_EQ(Refusal("[]"), "target.txt: no degrees");
    EXPECT_EQ(Refusal("element,degree\n"), "target.txt: no degrees");
    try {
        ReadTargetFile("/nonexistent/target.txt");
        FAIL();
    } catch (const ETargetError& error) {
        EXPECT_STREQ(error.what(),
                     "/nonexistent/target.txt: cannot be read: No such file or directory");
    }
}

std::vector<std::pair<long, std::vector<std::int32_t>>> Lines(std::string_view text) {
    std::vector<std::pair<long, std::vector<std::int32_t>>> lines;
    for (const TTargetLine& line : ParseTargetLines(text, "many.txt"))
        lines.emplace_back(line.Line, line.Target.Degrees());
    return lines;
}

std::string LinesRefusal(std::string_view text) {
    return RefusalOf([&] { ParseTargetLines(text, "many.txt"); });
}

TEST(TargetFile, LinesEndInLfCrlfOrCrAndEveryRefusalNamesItsLine) {
    using TLines = std::vector<std::pair<long, std::vector<std::int32_t>>>;
    EXPECT_EQ(Lines("1 2\r3,4\r\n\n[5, 6]\n7\t8 , 9"),
              (TLines{{1, {1, 2}}, {2, {3, 4}}, {4, {5, 6}}, {5, {7, 8, 9}}}));
    // The file's byte-order mark is not a line's; one further on is a value like any other.
    EXPECT_EQ(Lines("\xEF\xBB\xBF\n0 1\n"), (TLines{{2, {0, 1}}}));
    EXPECT_EQ(LinesRefusal("1\n\xEF\xBB\xBF\n"),
              "many.txt:2: '\\uFEFF' is not a degree (a whole number 0..100)");
    // An empty field would shift every degree after it.
    EXPECT_EQ(LinesRefusal("1\r10,,20\n"), "many.txt:2: '10,,20' has an empty field");
    EXPECT_EQ(LinesRefusal("5,\n"), "many.txt:1: '5,' has an empty field");
    EXPECT_EQ(LinesRefusal("1\n,,,\n"), "many.txt:2: ',,,' has an empty field");
    EXPECT_EQ(LinesRefusal("1\n\n[]\n"), "many.txt:3: no degrees");
    EXPECT_EQ(LinesRefusal("1\n[1,\n"),
              "many.txt:2: not a JSON array of degrees (malformed near '1,')");
    EXPECT_EQ(LinesRefusal("\xEF\xBB\xBF\r\n \r"), "many.txt: no targets");
    // A whole target file counts its lines the same way.
    EXPECT_EQ(Refusal("element,degree\r0,1\r1,x\r"),
              "target.txt:3: 'x' is not a degree (a whole number 0..100)");
    EXPECT_EQ(Refusal("[1,\r2,\r\n 300]"),
              "target.txt:3: '300' is not a degree (a whole number 0..100)");
}

TEST(TargetFile, AStopEndsAReadThatWaitsForItsWriter) {
    char dir[] = "/tmp/vesk-fifo-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string fifo = std::string(dir) + "/targets";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::signal(SIGPIPE, SIG_IGN); // the writer may outlive a stopped read
    // A writer that sends a line and stays open: the read cannot end by itself.
    std::thread writer([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "1 2\n", 4), 4);
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        ::close(fd);
    });
    std::atomic<bool> stop{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        stop = true;
    });
    EXPECT_THROW(ReadTargetLines(fifo, &stop), ETargetReadStopped);
    stopper.join();
    writer.join();
    // Without a stop the same read waits for the writer to close and takes what it sent.
    std::thread again([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "3 4\n", 4), 4);
        ::close(fd);
    });
    stop = false;
    const std::vector<TTargetLine> lines = ReadTargetLines(fifo, &stop);
    again.join();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Target.Degrees(), (std::vector<std::int32_t>{3, 4}));
    ::unlink(fifo.c_str());
    ::rmdir(dir);
}

} // namespace
} // namespace vesk
