#pragma once

#include <QString>

// The socket layer that every TagSocket uses. On Windows this loaded the socket library at run
// time; here Qt Network is always there, so loading always succeeds. The class stays so that
// unloading, and the errors a missing layer raises, behave as callers expect.
class TagWinsock
{
public:
    // The one loader of the program; it is loaded when first used.
    static TagWinsock &Instance();

    void Load();
    void Unload();
    bool Loaded() const { return m_loaded; }

    // Makes sure a socket function is there before it is used: raises EWinsockDLLError
    // "Winsock is not loaded" when unloaded, "Function <name> not found" for a name the layer
    // does not have.
    void RequireFunction(const QString &name) const;

private:
    TagWinsock() = default;
    bool m_loaded = true;
};
