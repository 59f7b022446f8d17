// A page whose guides the author drags over the preview or the edit area (the status page and
// the input-window pages). The main window hands it every mouse move over its client area.
#pragma once

#include <QPoint>

namespace tandel {

class IGuideTracker {
public:
    virtual ~IGuideTracker() = default;
    // last and point: the previous and the current mouse position in the main window; x and y:
    // the current one relative to the preview (or the edit area below it). which: the guide
    // under the mouse, set when one is there and left as it is otherwise. dragging: the left
    // button is down, so the guide moves and the document follows.
    virtual void TrackGuides(QPoint last, QPoint point, int x, int y, int& which,
                             bool dragging) = 0;
};

}  // namespace tandel
