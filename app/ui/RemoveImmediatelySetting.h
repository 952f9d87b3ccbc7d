#pragma once

// The user's choice to delete removed items at once instead of moving them to the Trash, kept in
// the user defaults (key "RemoveImmediately", off unless set).
class RemoveImmediatelySetting {
public:
    static constexpr const char* kKey = "RemoveImmediately";

    static bool value();
    // False when the defaults could not be written.
    static bool setValue(bool removesImmediately);
};
