#pragma once
// The class library's exception hierarchy. Every error our code raises on
// purpose descends from Exception; EAbort is the silent abort that message
// loops swallow without showing anything.
#include <exception>
#include <string>
#include <utility>

namespace gui {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Declares an exception class that only differs from its base by type.
#define GUI_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {              \
   public:                                \
    using Base::Base;                     \
  }

GUI_DECLARE_EXCEPTION(EAbort, Exception);
GUI_DECLARE_EXCEPTION(EOutOfMemory, Exception);
GUI_DECLARE_EXCEPTION(EConvertError, Exception);
GUI_DECLARE_EXCEPTION(EListError, Exception);
GUI_DECLARE_EXCEPTION(EStringListError, Exception);
GUI_DECLARE_EXCEPTION(EInvalidOperation, Exception);
GUI_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
GUI_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
GUI_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);
GUI_DECLARE_EXCEPTION(EComponentError, Exception);

// Stream errors: opening and creating files, short reads and writes.
GUI_DECLARE_EXCEPTION(EStreamError, Exception);
GUI_DECLARE_EXCEPTION(EFOpenError, EStreamError);
GUI_DECLARE_EXCEPTION(EFCreateError, EStreamError);
GUI_DECLARE_EXCEPTION(EFilerError, EStreamError);
GUI_DECLARE_EXCEPTION(EReadError, EFilerError);
GUI_DECLARE_EXCEPTION(EWriteError, EFilerError);

#undef GUI_DECLARE_EXCEPTION

// Raises the silent abort.
[[noreturn]] inline void Abort() { throw EAbort("Operation aborted"); }

}  // namespace gui
