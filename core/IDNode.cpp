// IDNode.cpp: the saved forms of the identifier nodes.
#include "core/IDNode.h"

#include <istream>
#include <ostream>

void IDNode::Save(std::ostream& out) const
{
    SaveKey(out);
}

void IDNode::Load(std::istream& in)
{
    LoadKey(in);
}

void NavIDNode::Save(std::ostream& out) const
{
    SaveKey(out);
    value_.Save(out);
}

void NavIDNode::Load(std::istream& in)
{
    LoadKey(in);
    value_.Load(in);
}

void IDPoint::Save(std::ostream& out) const
{
    SaveKey(out);
    point_.Save(out);
}

void IDPoint::Load(std::istream& in)
{
    LoadKey(in);
    point_.Load(in);
}
