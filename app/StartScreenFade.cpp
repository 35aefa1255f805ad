#include "StartScreenFade.h"

#include <algorithm>

bool StartScreenFade::fadeInTick()
{
    m_opacity = std::min(255, m_opacity + Step);
    return m_opacity <= FadeInStopsAbove;
}

bool StartScreenFade::fadeOutTick()
{
    m_opacity = std::max(0, m_opacity - Step);
    return m_opacity < HandOverBelow;
}
