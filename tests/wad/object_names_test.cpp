#include "wad/object_names.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/temp_dir.h"
#include "wad/byte_writer.h"
#include "wad/object_names_file.h"

namespace tarnlow {
namespace {

using test::TempDir;
using test::WriteFileBytes;

std::vector<std::string> Numbered(const std::string& prefix, int n) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back(prefix + std::to_string(i));
  return out;
}

// Replaces the 32-bit value at `offset` of an encoded file.
void Patch(Bytes& bytes, std::size_t offset, std::int32_t value) {
  Bytes encoded;
  ByteWriter(encoded).i32(value);
  std::copy(encoded.begin(), encoded.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

class ObjectNamesTest : public ::testing::Test {
 protected:
  ObjectNamesLoad Load(const Bytes& bytes) {
    WriteFileBytes(path(), bytes);
    return LoadObjectNames(path());
  }
  ObjectNamesLoad Load(const ObjectNamesFileContent& content) { return Load(EncodeObjectNames(content)); }
  std::filesystem::path path() const { return dir_ / "TR4Objects.dat"; }

  static void ExpectDefaultMeshNamesFrom(const ObjectNameTables& t, int first) {
    for (int i = first; i < ObjectNameTables::kMeshNames; ++i) {
      EXPECT_EQ(t.MeshNames[static_cast<std::size_t>(i)], "Mesh " + std::to_string(i));
    }
  }

  TempDir dir_;
};

TEST_F(ObjectNamesTest, EmptyFileGivesEmptyTablesAndDefaultMeshNames) {
  const ObjectNamesLoad load = Load(Bytes{});
  EXPECT_FALSE(load.fault);
  ObjectNameTables expected;
  for (int i = 0; i < ObjectNameTables::kMeshNames; ++i) expected.MeshNames[static_cast<std::size_t>(i)] = "Mesh " + std::to_string(i);
  EXPECT_EQ(load.tables.ObjectNames, expected.ObjectNames);
  EXPECT_EQ(load.tables.ObjectNumbers, expected.ObjectNumbers);
  EXPECT_EQ(load.tables.MeshNames, expected.MeshNames);
}

TEST_F(ObjectNamesTest, MissingFileReadsAsEmptyAndIsNotCreated) {
  const ObjectNamesLoad load = LoadObjectNames(path());
  EXPECT_FALSE(load.fault);
  EXPECT_EQ(load.tables.MeshNames[80], "Mesh 80");
  EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(ObjectNamesTest, FileThatCannotBeOpenedIsAFault) {
  std::filesystem::create_directory(path());
  const ObjectNamesLoad load = LoadObjectNames(path());
  ASSERT_TRUE(load.fault);
  EXPECT_EQ(load.fault->number(), EISDIR);
}

TEST_F(ObjectNamesTest, SectionsLandInTheirColumns) {
  ObjectNamesFileContent content;
  content.objectNames = {"L", "PI", ""};
  content.meshNames = {"HIPS", "THIGH"};
  content.section3 = {{"PLANT0", 40}};
  content.section4 = {{"four", 4}, {"four b", 44}};
  content.section5 = {{"five", 5}};
  content.section6 = {{"six", -6}};
  const ObjectNamesLoad load = Load(content);
  ASSERT_FALSE(load.fault);
  const ObjectNameTables& t = load.tables;
  EXPECT_EQ(*t.ObjectName(0), "L");
  EXPECT_EQ(*t.ObjectName(1), "PI");
  EXPECT_EQ(*t.ObjectName(2), "");
  EXPECT_EQ(*t.ObjectName(500), "");
  EXPECT_EQ(t.ObjectName(501), nullptr);
  EXPECT_EQ(t.MeshNames[1], "THIGH");
  ExpectDefaultMeshNamesFrom(t, 2);
  EXPECT_EQ(t.ObjectNames[3][0], "PLANT0");
  EXPECT_EQ(t.ObjectNumbers[3][0], 40);
  EXPECT_EQ(t.ObjectNames[2][1], "four b");
  EXPECT_EQ(t.ObjectNumbers[2][1], 44);
  EXPECT_EQ(t.ObjectNames[1][0], "five");
  EXPECT_EQ(t.ObjectNumbers[1][0], 5);
  EXPECT_EQ(t.ObjectNumbers[1][1], 0);
  EXPECT_EQ(t.ObjectNames[5][0], "six");
  EXPECT_EQ(t.ObjectNumbers[5][0], -6);
  for (int row = 0; row < ObjectNameTables::kRows; ++row) EXPECT_EQ(t.ObjectNames[0][static_cast<std::size_t>(row)], "");
}

TEST_F(ObjectNamesTest, EightyOneMeshNamesLeaveNoDefault) {
  ObjectNamesFileContent content;
  content.meshNames = Numbered("m", 81);
  const ObjectNamesLoad load = Load(content);
  ASSERT_FALSE(load.fault);
  EXPECT_EQ(load.tables.MeshNames[80], "m80");
}

TEST_F(ObjectNamesTest, MoreItemsThanATableHoldsStopAtTheLimitWithAFault) {
  const struct {
    const char* label;
    int items;
    bool fault;
  } cases[] = {{"501 object names", 501, false}, {"502 object names", 502, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ObjectNamesFileContent content;
    content.objectNames = Numbered("o", c.items);
    content.meshNames = {"after"};
    const ObjectNamesLoad load = Load(content);
    EXPECT_EQ(*load.tables.ObjectName(500), "o500");
    EXPECT_EQ(load.fault.has_value(), c.fault);
    // A fault stops the reading: the sections after it stay unread.
    EXPECT_EQ(load.tables.MeshNames[0], c.fault ? "" : "after");
    if (c.fault) {
      EXPECT_EQ(load.fault->number(), 9);
    }
  }
  ObjectNamesFileContent meshes;
  meshes.meshNames = Numbered("m", 82);
  const ObjectNamesLoad load = Load(meshes);
  ASSERT_TRUE(load.fault);
  EXPECT_EQ(load.tables.MeshNames[80], "m80");
}

TEST_F(ObjectNamesTest, NegativeCountsReadNoItems) {
  // Section 1 at -3: nothing read, the reading goes on.
  ObjectNamesFileContent content;
  content.meshNames = {"a"};
  Bytes bytes = EncodeObjectNames(content);
  Patch(bytes, 0, -3);
  ObjectNamesLoad load = Load(bytes);
  EXPECT_FALSE(load.fault);
  EXPECT_EQ(load.tables.MeshNames[0], "a");

  // Section 2 negative: the default names would start before entry 0.
  Patch(bytes, 4, -1);
  load = Load(bytes);
  ASSERT_TRUE(load.fault);
  EXPECT_EQ(load.fault->number(), 9);
  EXPECT_NE(load.fault->where().find("byte 4"), std::string::npos) << load.fault->where();
  EXPECT_EQ(load.tables.MeshNames[80], "");
}

TEST_F(ObjectNamesTest, MostNegativeCountIsAnOverflowFault) {
  for (const std::size_t offset : {0u, 4u, 8u}) {
    SCOPED_TRACE(offset);
    Bytes bytes = EncodeObjectNames(ObjectNamesFileContent{});
    Patch(bytes, offset, INT_MIN);
    const ObjectNamesLoad load = Load(bytes);
    ASSERT_TRUE(load.fault);
    EXPECT_EQ(load.fault->number(), 6);
  }
}

TEST_F(ObjectNamesTest, StringLongerThanTheFileTakesOnlyWhatIsThere) {
  ObjectNamesFileContent content;
  content.objectNames = {"abc"};
  Bytes bytes = EncodeObjectNames(content);
  Patch(bytes, 4, INT_MAX);
  const ObjectNamesLoad load = Load(bytes);
  EXPECT_FALSE(load.fault);
  const std::string& name = *load.tables.ObjectName(0);
  EXPECT_LE(name.size(), bytes.size());
  EXPECT_EQ(name.substr(0, 3), "abc");
  // Everything after it read as zero: mesh names are the defaults.
  ExpectDefaultMeshNamesFrom(load.tables, 0);
}

TEST_F(ObjectNamesTest, BytesAreReadAsWindows1252) {
  ObjectNamesFileContent content;
  content.objectNames = {"\u20AC uro", "caf\u00E9"};
  const ObjectNamesLoad load = Load(content);
  ASSERT_FALSE(load.fault);
  EXPECT_EQ(*load.tables.ObjectName(0), "\u20AC uro");
  EXPECT_EQ(*load.tables.ObjectName(1), "caf\u00E9");
  // One byte per character in the file: 0x80 for the euro sign.
  const Bytes bytes = EncodeObjectNames(content);
  EXPECT_EQ(bytes[8], 0x80);
  EXPECT_EQ(bytes.size(), 4 + (4 + 5) + (4 + 4) + 5 * 4u);
}

TEST_F(ObjectNamesTest, TextWindows1252CannotHoldIsNotEncoded) {
  ObjectNamesFileContent content;
  content.section6 = {{"\u4E2D", 1}};
  EXPECT_THROW(EncodeObjectNames(content), WadError);
}

TEST_F(ObjectNamesTest, WrittenFileReadsBack) {
  ObjectNamesFileContent content;
  content.objectNames = {"LARA"};
  content.section5 = {{"x", 3}};
  WriteObjectNames(path(), content);
  const ObjectNamesLoad load = LoadObjectNames(path());
  ASSERT_FALSE(load.fault);
  EXPECT_EQ(*load.tables.ObjectName(0), "LARA");
  EXPECT_EQ(load.tables.ObjectNumbers[1][0], 3);
}

}  // namespace
}  // namespace tarnlow
