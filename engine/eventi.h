#pragma once
// The import yields to the window system after every row, so the page repaints and stays
// responsive. Tests and the headless run pass the no-op.
namespace tarkpo::motore {

class IEventi {
 public:
  virtual ~IEventi() = default;
  // Lets the window system handle what is pending; must cost nothing when nothing is.
  virtual void ElaboraEventi() = 0;
};

class EventiNulli : public IEventi {
 public:
  void ElaboraEventi() override {}
};

}  // namespace tarkpo::motore
