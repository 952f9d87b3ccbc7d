# The context menus of an application row and a file row, the Exclusions window and the reset
# sheet with the screen after the reset, light and dark, each run over a fresh demo Mac (the reset
# takes the application's data to the Trash). launchctl is /bin/false so that nothing starts a daemon.
for appearance in light dark; do
  (
    demo_env
    OSTROVA_LAUNCHCTL=/bin/false OSTROVA_APPEARANCE=$appearance "$BUILD/bin/ostrova-screens" "$OUT" menus exclusions reset
  )
done
