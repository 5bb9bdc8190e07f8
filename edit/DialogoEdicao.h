#pragma once

namespace edit {

// What the editing helpers need of an entity dialog: its mode tag (1 insert, 0 edit) and a modal run.
// The Qt dialogs come in through an adapter (edit/ui/DialogoQt.h); tests pass a scripted fake.
class DialogoEdicao
{
public:
    virtual ~DialogoEdicao() = default;

    virtual int tag() const = 0;
    virtual void setTag(int tag) = 0;
    // Runs the dialog modally and returns its result code.
    virtual int exec() = 0;
};

} // namespace edit
