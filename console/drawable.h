#pragma once

// Something the frame loop can reset and draw. Nothing dispatches through the
// table; the console keeps the shape so that other drawables fit beside it.
class Drawable {
public:
    virtual void load() = 0;
    virtual void render() = 0;

protected:
    Drawable() = default;
    ~Drawable() = default;
};
