#pragma once

// Turns the wheel distances of single events, of any size, into whole wheel
// steps of 120 units, keeping what is left over for the next event. Mice
// with notches send 120 per notch; fine-step wheels and touchpads send small
// parts of a step (15, 30, ...), which would be lost if each event were
// divided on its own.
class WheelSteps {
public:
    static constexpr int kUnitsPerStep = 120;
    // The most steps one event may give, whatever distance it claims.
    static constexpr int kMaxStepsPerEvent = 100;

    // Adds an event's distance (positive away from the user) and returns the
    // whole steps now completed, with their sign. A turn in the other
    // direction first drops what was left over of the last one.
    int Add(int units);
    // Forgets the part of a step left over (a new gesture begins).
    void Reset() { rest_ = 0; }
    int Rest() const { return rest_; }

private:
    int rest_ = 0;
};
