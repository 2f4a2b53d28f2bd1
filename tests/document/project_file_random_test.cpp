// Seeded random input for the project reader: whatever the lines hold, reading never
// fails on a good header, and what the writer then makes reads back to itself after at
// most one normalising round (saturated colours, rounding at the ends of the range).

#include "document/mesh_document.h"
#include "document/text_file.h"

#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <random>

using namespace MyApp;
using Lines = std::vector<std::string>;

namespace {

const char* const kFragments[] = {
    "BEGIN VERTEX", "END VERTEX", "BEGIN INDEX", "END INDEX", "", "0", "-1", "1e999",
    "-1e-999", "4294967295", "65535", "40000", "3.40283e+38", "1.7977e+308", "nan", "inf",
    "  12.5e3x", "-.", "1,5", "\xFF\xFE", "2147483648", "-32768"};

std::string RandomLine(std::mt19937& random) {
    if (random() % 4 != 0)
        return kFragments[random() % std::size(kFragments)];
    std::string line(random() % 12, ' ');
    for (char& c : line)
        c = static_cast<char>(random() % 256);
    return line;
}

Lines RandomProject(std::mt19937& random) {
    Lines lines = {MeshDocument::kHeader};
    const std::size_t count = random() % 80;
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(RandomLine(random));
    return lines;
}

Lines Normalised(const Lines& lines) {
    MeshDocument document;
    EXPECT_TRUE(document.FromLines(lines));
    return document.ToLines();
}

} // namespace

TEST(ProjectFileRandom, WhatTheWriterMakesReadsBackToItself) {
    std::mt19937 random(1207);
    for (int round = 0; round < 3000; ++round) {
        const Lines once = Normalised(RandomProject(random));
        const Lines twice = Normalised(once);
        ASSERT_EQ(Normalised(twice), twice) << "round " << round;
    }
}

TEST(ProjectFileRandom, ArbitraryBytesReadWithoutHarm) {
    static const char kAlphabet[] = "0123456789.-e \r\n\n\nBEGIN VERTEX\nEND\x01";
    TemporaryFolder folder;
    const std::string path = folder.File("random.kv3");
    std::mt19937 random(712);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = "KEL MORVANE\n";
        bytes.resize(bytes.size() + random() % 400);
        for (std::size_t i = 12; i < bytes.size(); ++i)
            bytes[i] = kAlphabet[random() % (sizeof kAlphabet - 1)];
        TemporaryFolder::WriteBytes(path, bytes);
        TextFile file(path);
        const Lines lines = file.ReadLines();
        EXPECT_EQ(file.Failed, bytes.back() != '\n');
        for (const std::string& line : lines)
            ASSERT_EQ(line.find('\n'), std::string::npos);
        MeshDocument document;
        EXPECT_TRUE(document.FromLines(lines));
    }
}
