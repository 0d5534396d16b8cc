#pragma once

// A window that can be shown; the program implements none.
class IMjVentana {
public:
    virtual ~IMjVentana() = default;
    virtual void Operacion1() = 0;
    virtual void Operacion2() = 0;
    virtual void Operacion3() = 0;
    virtual void Operacion4() = 0;
};
