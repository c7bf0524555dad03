// WeatherEvent.cpp: the delayed weather disturbance and its saved form.
#include "world/WeatherEvent.h"

#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "world/WeatherTexts.h"
#include "world/gam2anim.h"

WeatherEvent::WeatherEvent(int32_t row, int32_t column, int8_t trend)
    : row(row), column(column), trend(trend)
{
    // The clock's u32 wraps, and so does the due time.
    SetDueTime(static_cast<uint32_t>(uint64_t{gam2arena::GetGameTime()} + DELAY));
}

WeatherEvent::WeatherEvent(std::istream& in)
{
    Load(in);
}

bool WeatherEvent::HandleEvent()
{
    gam2anim::ForwardToEnvironment(row, column, trend);
    return false;
}

void WeatherEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveField(out, row);
    SaveField(out, column);
    SaveField(out, trend);
    SaveBase(out);
    if (!out)
        ReportWeatherText(WeatherText::EVENT_NOT_SAVED, &FatalError);
}

bool WeatherEvent::Load(std::istream& in)
{
    int32_t readRow = 0;
    int32_t readColumn = 0;
    int8_t readTrend = 0;
    LoadField(in, readRow);
    LoadField(in, readColumn);
    LoadField(in, readTrend);
    if (!in || !LoadBase(in)) {
        // The event list refuses the whole load, so the program can go on.
        ReportWeatherText(WeatherText::EVENT_NOT_LOADED, &ErrorBox);
        return false;
    }
    row = readRow;
    column = readColumn;
    trend = readTrend;
    return true;
}
