// What the database tells the parts that keep something derived from the
// drawing (the undo journal, the spatial index): which slot is about to
// change, and when the whole drawing was replaced.
#pragma once

class IGO_DatabaseObserver {
public:
    virtual ~IGO_DatabaseObserver() = default;

    // The slot is about to change: an object will be appended or put into it,
    // removed from it, or may be transformed by the caller of Find. The slot
    // still holds its old content (null when empty or about to be appended).
    virtual void OnSlotChanging(int slot) = 0;
    // Every slot was replaced or emptied at once (a load, a clear).
    virtual void OnDrawingReplaced() = 0;
};
