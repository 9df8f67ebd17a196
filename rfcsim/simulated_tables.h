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

 private:
  std::map<void*, std::unique_ptr<SimulatedTable>> tables_;
};

}  // namespace rfcsim
