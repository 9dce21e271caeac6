// The application object: owns the toolkit, installs the window-thread
// dispatcher, keeps the forms and runs the loop. One per process, made on the
// thread that becomes the window thread, before any control.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orlu {

class Form;
struct ApplicationImpl;

class Application {
 public:
  Application(int& argc, char** argv);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application* Instance();

  std::string Title() const;
  void SetTitle(const std::string& title);

  // Makes a form of type F in `global` and keeps it for the life of the
  // application. The first form made is the main form. An exception escaping
  // the constructor is shown in the box (and `global` stays null).
  template <class F>
  void CreateForm(F*& global) {
    global = nullptr;
    GuardedRun([&] {
      auto form = std::make_unique<F>();
      global = form.get();
      Keep(std::move(form));
    });
  }

  Form* MainForm() const;
  // Shows the main form and runs the loop until the main form closes.
  // Returns 0.
  int Run();
  // Ends Run's loop.
  void Terminate();
  bool Terminated() const;

  // Runs `call`; an exception escaping it is shown in the box.
  static void GuardedRun(const std::function<void()>& call);
  // Inside a catch block: shows the exception being handled (its message; an
  // object that is not a std::exception as an empty message).
  static void ShowCurrentException();
  // Shows `message` (GBK) in the exception box, or hands it to the hook.
  static void ShowException(const std::string& message);
  // Tests: receive the message instead of a box ({} restores the box).
  static void SetExceptionHook(std::function<void(const std::string& message)> hook);

  // Runs pending window events once.
  static void ProcessMessages();

  // Internal: forms register and unregister themselves.
  void AddForm(Form* form);
  void RemoveForm(Form* form);

 private:
  void Keep(std::unique_ptr<Form> form);
  std::unique_ptr<ApplicationImpl> impl_;
};

// Lets the loop run for `duration` (window thread).
void ProcessEventsFor(std::chrono::milliseconds duration);
// Runs the loop until `done` is true or `timeout` passes; the last value of
// `done`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

}  // namespace orlu
