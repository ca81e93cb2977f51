// What a removal tells as it goes: each thing it comes to, and each thing it leaves with the reason.
#pragma once
#include <string>

namespace quenby {

class TUndoReport {
public:
    virtual void Step(const std::string& item) = 0;
    virtual void Leave(const std::string& what, const std::string& why) = 0;

protected:
    ~TUndoReport() = default;
};

}  // namespace quenby
