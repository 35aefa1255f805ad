#pragma once

// The start screen's opacity (0 to 255) as its two timers change it: fading
// in by 10 a tick up to 250, fading out by 10 a tick until it falls below 40,
// when the main window takes over.
class StartScreenFade final
{
public:
    static constexpr int Step = 10;
    static constexpr int FadeInStopsAbove = 240;
    static constexpr int HandOverBelow = 40;

    int opacity() const { return m_opacity; }
    void setOpacity(int opacity) { m_opacity = opacity; }

    // One fade-in tick; false when the fade-in is complete and its timer stops.
    bool fadeInTick();
    // One fade-out tick; true when the hand-over is due. A fade-out from an
    // opacity below one step stops at 0 instead of wrapping round.
    bool fadeOutTick();

private:
    int m_opacity = 0;
};
