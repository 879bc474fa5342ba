#pragma once

#include <QString>

// What the program was started to do: the first command-line argument, a number.
enum class RunMode {
    Editor = 0,           // the profile list editor
    CreateThenUpload = 1, // the create-profile wizard, then the upload wizard with the hand-over list
    UploadHandOver = 2,   // the upload wizard with the hand-over list and a shortcut's profile
    Home = 3,             // the profile list editor, as without arguments
    UploadFolder = 4,     // the upload wizard with everything below a folder, first profile
    CameraStart = 5,      // starts the camera import in a new process
    Camera = 6,           // camera import with the first profile
    CreateProfile = 7,    // the create-profile wizard alone
    UploadPicked = 8,     // the upload wizard, the files picked in it
    None = -1             // any other number: nothing but the shortcut list
};

namespace RunModes {

// The mode a command-line number names.
inline RunMode fromNumber(int iNumber)
{
    return iNumber >= 0 && iNumber <= 8 ? RunMode(iNumber) : RunMode::None;
}

// The command-line argument that starts the program in a mode.
inline QString argument(RunMode mode)
{
    return QString::number(int(mode));
}

} // namespace RunModes
