# Sourced by the scripts that generate a sample world: checks its size and seed before
# anything is touched, refusing with the caller's own `refuse`.
check_world_arguments() {  # SIZE SEED
  case $1 in
    small | year | realistic) ;;
    *) refuse "unknown size $1" ;;
  esac
  # Decimal digits without a leading zero. Twenty digits compare as text: the shell's
  # arithmetic ends at 2^63 - 1.
  local largest_seed=18446744073709551615
  # shellcheck disable=SC2071
  if ! [[ $2 =~ ^(0|[1-9][0-9]{0,19})$ ]] || [[ ${#2} -eq 20 && $2 > $largest_seed ]]; then
    refuse "the seed is a whole number from 0 to $largest_seed, not $2"
  fi
}
