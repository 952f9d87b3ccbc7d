// Carries the precompiled framework headers that every test target of its kind reuses.
int main()
{
    return 0;
}
