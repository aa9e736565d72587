// quillary-cli dump: lists the segments of a .sup stream.
#include "cli/commands.h"

#include "pgs/sup_reader.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quillary::cli {

namespace {

constexpr const char* kDumpUsage =
    "usage: quillary-cli dump FILE.sup\n"
    "\n"
    "Lists every segment of a PG stream (.sup, as written by Quillary or any other encoder):\n"
    "one block per segment with its byte offset, PTS and DTS and its fields.\n"
    "On a damaged stream it lists what it could read, then prints one line naming the byte\n"
    "offset of the fault and exits with status 1.\n";

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int RunDumpCommand(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kDumpUsage, stdout);
        return 0;
    }
    if (argc != 2) {
        std::fputs(kDumpUsage, stderr);
        return 2;
    }
    const char* path = argv[1];
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        std::fprintf(stderr, "quillary-cli: %s: cannot read the file\n", path);
        return 2;
    }

    pgs::CSupReader reader(bytes);
    pgs::SSupEntry entry;
    std::string text;
    int number = 0;
    while (reader.Next(entry)) {
        text.clear();
        text += "Segment " + std::to_string(++number) + " at offset " +
                std::to_string(entry.offset) + ":\n";
        entry.segment->Dump(text, "  ");
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    std::fflush(stdout);
    if (reader.Failed()) {
        std::fprintf(stderr, "quillary-cli: %s: offset %llu: %s\n", path,
                     static_cast<unsigned long long>(reader.ErrorOffset()),
                     reader.ErrorText().c_str());
        return 1;
    }
    return 0;
}

} // namespace quillary::cli
