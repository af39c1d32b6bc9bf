#pragma once

#include <string>
#include <string_view>

// The question the progress indicator asks before an operation is stopped.
inline constexpr std::string_view kProgressAbortQuestion = "Abort???";
inline constexpr std::string_view kProgressCaption = "Progress indicator";

// What the progress bar shows, apart from drawing: the range, the fed position, the creeping
// mode for totals that are only a guess, and the label. Values are never negative.
class CProgressState {
public:
    void SetRange(double total);
    void SetPos(double value);
    void SetPosText(double value, std::string_view text);
    void SetCreeping(bool on) { m_creeping = on; }

    double Range() const { return m_range; }
    double Pos() const { return m_pos; }
    double Shown() const { return m_shown; }
    bool Creeping() const { return m_creeping; }
    // Share of the bar that is filled, 0..1. An empty range shows a full bar once anything
    // was fed, and an empty one before.
    double Fraction() const;
    // The caller's text in text mode; else the position ("%g" while creeping, whole otherwise).
    std::string Label() const;

private:
    void Update(double value);

    double m_range = 100;
    double m_pos = 0;
    double m_prev = 0;
    double m_shown = 0;
    bool m_creeping = false;
    bool m_textMode = false;
    std::string m_text;
};

// "%dh:%dm:%ds" for the time since the bar appeared.
std::string FormatElapsed(long long elapsedMs);
