// Doctrine.cpp: the doctrine's curves, its file, its saved name and its
// decisions.
#include "missions/Doctrine.h"

#include "missions/SortedIDList.h"

bool DoctrineCurve::Load(std::istream&) { return false; }

int32_t DoctrineCurve::Evaluate(uint16_t) const { return startValue; }

Doctrine::Doctrine(uint16_t factors, uint16_t options) : factorCount(factors), optionCount(options) {}

Doctrine::~Doctrine() = default;

void Doctrine::SetFileName(const char*) {}

bool Doctrine::LoadFile() { return false; }

bool Doctrine::Save(std::ostream&) const { return false; }

bool Doctrine::Load(std::istream&) { return false; }

uint16_t Doctrine::AverageScore(const SortedIDList&) const { return 0; }

uint32_t Doctrine::ChooseOption(const SortedIDList&, const SortedIDList&) const { return NO_DOCTRINE_CHOICE; }

const DoctrineCurve* Doctrine::GetFactorCurve(uint16_t) const { return nullptr; }

const DoctrineCurve* Doctrine::GetOptionCurve(uint16_t) const { return nullptr; }
