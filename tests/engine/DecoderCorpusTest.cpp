// Every file of the shared decoder corpus, loaded the way the image job loads it, against
// the table of what each must do: decode to an exact size, be refused with a DecodeError,
// or either of the two. Nothing but DecodeError may escape.
#include "engine/codec/PictureLoader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace selvane {
namespace {

struct CorpusRow {
    std::string path;
    std::string expect;  // "decode", "reject" or "either"
    std::string width;   // "-" where the file declares none
    std::string height;
};

// Names the file, not the bytes of the row, when a test fails.
void PrintTo(const CorpusRow& row, std::ostream* out)
{
    *out << row.path;
}

std::vector<CorpusRow> ReadExpectations()
{
    std::vector<CorpusRow> rows;
    std::ifstream table(std::string(SELVANE_TESTDATA_DIR) + "/expected.tsv");
    std::string line;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        CorpusRow row;
        std::getline(fields, row.path, '\t');
        std::getline(fields, row.expect, '\t');
        std::getline(fields, row.width, '\t');
        std::getline(fields, row.height, '\t');
        rows.push_back(row);
    }
    return rows;
}

std::string TestName(const ::testing::TestParamInfo<CorpusRow>& row)
{
    std::string name;
    for (const char c : row.param.path) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

class DecoderCorpusTest : public ::testing::TestWithParam<CorpusRow> {};

TEST_P(DecoderCorpusTest, MeetsExpectation)
{
    const CorpusRow& row = GetParam();
    const std::string path = std::string(SELVANE_TESTDATA_DIR) + "/" + row.path;
    bool decoded = false;
    std::string outcome;
    try {
        // With the metadata, as the image job reads every picture.
        PictureMetadata metadata;
        const Raster picture = LoadPicture(path, &metadata);
        decoded = true;
        outcome = "decoded " + std::to_string(picture.Width()) + "x" + std::to_string(picture.Height());
        if (row.expect != "reject") {
            EXPECT_EQ(std::to_string(picture.Width()), row.width);
            EXPECT_EQ(std::to_string(picture.Height()), row.height);
        }
    } catch (const DecodeError& error) {
        outcome = std::string("rejected: ") + error.what();
    } catch (const std::exception& error) {
        FAIL() << "escaped with something other than DecodeError: " << error.what();
    }
    if (row.expect == "decode") {
        EXPECT_TRUE(decoded) << outcome;
    } else if (row.expect == "reject") {
        EXPECT_FALSE(decoded) << outcome;
    }
    RecordProperty("outcome", outcome);
}

INSTANTIATE_TEST_SUITE_P(Corpus, DecoderCorpusTest, ::testing::ValuesIn(ReadExpectations()), TestName);

TEST(DecoderCorpusTable, ListsTheWholeCorpus)
{
    const auto rows = ReadExpectations();
    EXPECT_EQ(rows.size(), 537u);
    std::set<std::string> expectations;
    for (const auto& row : rows) expectations.insert(row.expect);
    EXPECT_EQ(expectations, (std::set<std::string>{"decode", "either", "reject"}));
}

}  // namespace
}  // namespace selvane
