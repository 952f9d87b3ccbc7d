# The uninstall flow over a fresh demo Mac, light and dark: the confirmation sheet, the uninstalling
# screen, the leftovers screen (launch jobs stay: no daemon runs here) and the completed screen.
# launchctl is /bin/false so that nothing starts a daemon.
for appearance in light dark; do
  (
    demo_env
    OSTROVA_LAUNCHCTL=/bin/false OSTROVA_APPEARANCE=$appearance "$BUILD/bin/ostrova-screens" "$OUT" flow
  )
done
