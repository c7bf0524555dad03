// UnitFactory.cpp: the table of unit makers by type letter.
#include "units/UnitFactory.h"

#include <cstring>

namespace {

constexpr int TABLE_SIZE = UnitFactory::LAST_LETTER - UnitFactory::FIRST_LETTER + 1;   // 23
constexpr char TYPE_LETTERS[] = "ABFGLPSUW";

UnitFactory::Maker gMakers[TABLE_SIZE] = {};

}  // namespace

bool UnitFactory::IsTypeLetter(uint8_t letter)
{
    return letter != 0 && std::strchr(TYPE_LETTERS, letter) != nullptr;
}

UnitFactory::Maker UnitFactory::Register(uint8_t letter, Maker maker)
{
    if (!IsTypeLetter(letter))
        return nullptr;
    Maker& entry = gMakers[letter - FIRST_LETTER];
    const Maker previous = entry;
    entry = maker;
    return previous;
}

Unit* UnitFactory::Create(uint8_t letter)
{
    if (!IsTypeLetter(letter) || gMakers[letter - FIRST_LETTER] == nullptr)
        return nullptr;
    return gMakers[letter - FIRST_LETTER]();
}
