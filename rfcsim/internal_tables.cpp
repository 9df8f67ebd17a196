#include "internal_tables.h"

#include <algorithm>

namespace rfcsim {

char* InternalTable::Line(uint32_t number) {
  if (number == 0 || number > rows_.size()) return nullptr;
  return rows_[number - 1].get();
}

void InternalTable::Append(const std::string& bytes) {
  auto row = std::make_unique<char[]>(std::max<uint32_t>(rowLength_, 1));
  std::copy_n(bytes.data(), std::min<size_t>(bytes.size(), rowLength_), row.get());
  rows_.push_back(std::move(row));
}

void* InternalTables::Create(std::string name, uint32_t rowLength) {
  auto table = std::make_unique<InternalTable>(std::move(name), rowLength);
  void* handle = table.get();
  tables_.emplace(handle, std::move(table));
  return handle;
}

InternalTable* InternalTables::Find(void* handle) const {
  const auto found = tables_.find(handle);
  return found == tables_.end() ? nullptr : found->second.get();
}

bool InternalTables::Delete(void* handle) { return tables_.erase(handle) == 1; }

}  // namespace rfcsim
