// VictoryConditionList.cpp: the victory manager's conditions and their saved
// records.

#include "missions/VictoryConditionList.h"

#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"

VictoryConditionList::~VictoryConditionList() { Clear(); }

VictoryCondition* VictoryConditionList::Get(int index) const
{
    if (index < 0 || index >= static_cast<int>(conditions.size()))
        return nullptr;
    return conditions[static_cast<size_t>(index)];
}

bool VictoryConditionList::Append(VictoryCondition* condition)
{
    if (!condition || static_cast<int>(conditions.size()) >= MAX_COUNT)
        return false;
    conditions.push_back(condition);
    return true;
}

void VictoryConditionList::Clear()
{
    for (VictoryCondition* c : conditions)
        delete c;
    conditions.clear();
}

void VictoryConditionList::Save(std::ostream& out) const
{
    for (const VictoryCondition* c : conditions)
        c->SaveData(out);
}

bool VictoryConditionList::Load(std::istream& in, uint8_t count)
{
    Clear();
    for (int i = 0; i < count && in; ++i) {
        uint8_t kind = 0;
        if (!LoadField(in, kind))
            break;
        if (kind == 0) {
            // An empty entry: reported, and the list keeps one condition fewer.
            ReportResourceText(EMPTY_KIND_TEXT, "VictoryConditionList::Load", ErrorBox);
            continue;
        }
        VictoryCondition* condition = VictoryCondition::LoadKind(kind, in);
        if (!condition) {
            if (in) {   // a kind this program does not know: nothing more can be read
                ReportResourceText(BAD_KIND_TEXT, "VictoryConditionList::Load", FatalError);
                in.setstate(std::ios::failbit);
            }
            break;
        }
        conditions.push_back(condition);
    }
    if (!in)
        Clear();   // a damaged record keeps none of the conditions
    return static_cast<bool>(in);
}
