// Declarations of the Lumo library classes that the shipped skeleton templates use, enough to
// check that a generated skeleton is well-formed C++ (the library itself is not part of this
// repository).
#pragma once

#include <memory>
#include <string>

namespace lumo {

class Application;

/// An event the terminal reports for a dialog (OnClick, OnOpen, ...).
class Event {
public:
    const std::string& Name() const;
    const std::string& Object() const;
    std::string Value(const std::string& key) const;
};

/// A dialog shown on the terminal, built from its JSON resource.
class Dialog {
public:
    Dialog(Application& application, const std::string& resourceName);
    virtual ~Dialog();

    const std::string& Name() const;
    Application& App() const;
    void Close();

    virtual void OnOpen();
    virtual void OnClose();
    virtual void OnEvent(const Event& event);
};

/// Makes the dialog object for a resource name when the terminal opens a dialog.
class DialogMaker {
public:
    virtual ~DialogMaker();
    virtual std::shared_ptr<Dialog> Make(Application& application, const std::string& name) = 0;
};

/// The application: its dialogs and its event loop.
class Application {
public:
    Application(const std::string& name, int argc, char** argv);
    virtual ~Application();

    virtual bool OnInit();
    virtual void OnExit();

    void SetDialogMaker(DialogMaker* maker);
    bool OpenDialog(const std::string& name);
    int Run();
};

}  // namespace lumo
