#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace rfcsim {

// A table the library hands out through ItCreate: rows of one length,
// appended at the end. A row's address stays valid until the table is deleted.
class SimulatedTable {
 public:
  SimulatedTable(std::string name, uint32_t rowLength) : name_(std::move(name)), rowLength_(rowLength) {}

  const std::string& Name() const { return name_; }
  uint32_t RowLength() const { return rowLength_; }
  uint32_t Lines() const { return static_cast<uint32_t>(rows_.size()); }
  // Line numbers count from 1; any other number gives none.
  char* Line(uint32_t number);
  // Appends a row of the table's length: `bytes` cut or filled with zero bytes.
  void Append(const std::string& bytes);

 private:
  std::string name_;
  uint32_t rowLength_;
  std::vector<std::unique_ptr<char[]>> rows_;
};

// Every table of the process by its handle; handles that were never handed
// out, or were deleted, are found as none instead of being followed.
class SimulatedTables {
 public:
  void* Create(std::string name, uint32_t rowLength);
  SimulatedTable* Find(void* handle) const;
  void Delete(void* handle);
  // How many tables have been created so far: a mark for LivingSince.
  uint64_t Created() const { return created_; }
  // The names of the tables not yet deleted that were created after the
  // mark, oldest first.
  std::vector<std::string> LivingSince(uint64_t mark) const;

 private:
  struct Entry {
    uint64_t serial;  // counts from 0 in the order of creation
    std::unique_ptr<SimulatedTable> table;
  };
  std::map<void*, Entry> tables_;
  uint64_t created_ = 0;
};

}  // namespace rfcsim
