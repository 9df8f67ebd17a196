#include "simulated_tables.h"

#include <algorithm>

namespace rfcsim {

char* SimulatedTable::Line(uint32_t number) {
  if (number == 0 || number > rows_.size()) return nullptr;
  return rows_[number - 1].get();
}

void SimulatedTable::Append(const std::string& bytes) {
  auto row = std::make_unique<char[]>(std::max<uint32_t>(rowLength_, 1));
  std::copy_n(bytes.data(), std::min<size_t>(bytes.size(), rowLength_), row.get());
  rows_.push_back(std::move(row));
}

void* SimulatedTables::Create(std::string name, uint32_t rowLength) {
  auto table = std::make_unique<SimulatedTable>(std::move(name), rowLength);
  void* handle = table.get();
  tables_.emplace(handle, Entry{created_++, std::move(table)});
  return handle;
}

SimulatedTable* SimulatedTables::Find(void* handle) const {
  const auto found = tables_.find(handle);
  return found == tables_.end() ? nullptr : found->second.table.get();
}

std::vector<std::string> SimulatedTables::LivingSince(uint64_t mark) const {
  std::map<uint64_t, std::string> living;
  for (const auto& [handle, entry] : tables_) {
    if (entry.serial >= mark) living.emplace(entry.serial, entry.table->Name());
  }
  std::vector<std::string> names;
  for (auto& [serial, name] : living) names.push_back(std::move(name));
  return names;
}

void SimulatedTables::Delete(void* handle) { tables_.erase(handle); }

}  // namespace rfcsim
