#pragma once

#include <string>

#include "BlockModel.h"

namespace builder {

// The block from its magic up to the end of the last locale group: everything in front
// of the included-file records.
std::string encodeBlockHead(const BlockTexts& texts);

void appendInt32(std::string& out, int32_t value);
void appendInt64(std::string& out, int64_t value);

}  // namespace builder
