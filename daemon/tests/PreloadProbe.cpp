// A library that a test preloads into the genuine client: code from outside the system's library
// folders and the bundle, as an attacker's LD_PRELOAD would bring in. It does nothing by itself.
extern "C" int ostrovaPreloadProbe()
{
    return 42;
}

// With this it is also a loader audit module, which LD_AUDIT keeps loaded.
extern "C" unsigned int la_version(unsigned int version)
{
    return version;
}
