#pragma once
// The named character references and their sorted look-up list.
#include <cstdint>
#include <span>
#include <string_view>

namespace engine {

struct TEntity {
  std::string_view Name;  // case-sensitive
  std::uint16_t Code;
};

// The 253 rows in table order.
std::span<const TEntity> EntityTable();

// Sorts the look-up list; done once when the engine starts (later calls do nothing).
void BuildEntityList();

// Code of the exactly named reference; false when unknown. Builds the list
// first when that has not happened yet.
bool LookUpEntity(std::string_view name, std::uint16_t& code);

}  // namespace engine
