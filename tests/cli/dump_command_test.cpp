// quillary-cli dump over committed streams: the listing against golden text, and the one-line
// fault report with its offset and exit status on damaged streams.
#include "run_cli.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using quillary::test::ReadText;
using quillary::test::RunCli;
using quillary::test::SRun;

const std::string kData = QUILLARY_TEST_DATA_DIR "/cli/";

TEST(DumpCommand, ListsStreamsAndReportsFaultsByOffset)
{
    struct Case {
        const char* fixture;
        int status;
        const char* error; // the expected stderr after the path, or "" for none
    };
    const Case cases[] = {
        {"two_display_sets", 0, ""},
        {"truncated_segment", 1,
         ": offset 100: segment length 1283 runs past the end of the file (897 bytes left)\n"},
        {"bad_magic", 1, ": offset 1386: bad \"PG\" magic\n"},
        {"unknown_segment_type", 1, ": offset 1409: unknown segment type 0x42\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        const std::string sup = kData + c.fixture + ".sup";
        const SRun run = RunCli("dump '" + sup + "'");
        EXPECT_EQ(run.status, c.status);
        // What was read before a fault is still listed.
        EXPECT_EQ(run.out, ReadText(kData + c.fixture + ".dump.txt"));
        if (*c.error == '\0')
            EXPECT_EQ(run.err, "");
        else
            EXPECT_EQ(run.err, "quillary-cli: " + sup + c.error);
    }
}

TEST(DumpCommand, UsageAndUnreadableFiles)
{
    const SRun help = RunCli("dump --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: quillary-cli dump FILE.sup"), std::string::npos);

    const SRun none = RunCli("dump");
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("usage:"), std::string::npos);

    const SRun missing = RunCli("dump '" + kData + "no_such_file.sup'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);

    const SRun top = RunCli("--help");
    EXPECT_EQ(top.status, 0);
    EXPECT_NE(top.out.find("dump FILE.sup"), std::string::npos);
}

} // namespace
