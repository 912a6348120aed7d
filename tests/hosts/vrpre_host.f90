! Host program in Fortran: asks for the date, time and version through dll_vrpre alone,
! every argument passed by reference as a Fortran program passes it (the interface is the
! module kvr7dbio's). The date and time must be the local time read just before or just
! after the call.
program vrpre_host
  use kvr7dbio
  implicit none
  integer :: before(8), after(8), got(6), letter
  real :: version
  logical :: ok

  got = -1
  version = -1.0
  letter = 0
  call date_and_time(values=before)
  call dll_vrpre(got(1), got(2), got(3), got(4), got(5), got(6), version, letter)
  call date_and_time(values=after)

  ok = same(before) .or. same(after)
  if (.not. ok) print '(a, 6i6)', ' FAILED date and time:', got
  if (transfer(version, 0) /= 0) then
    print '(a, g14.6)', ' FAILED version:', version
    ok = .false.
  end if
  if (letter /= int(z'20202020')) then
    print '(a, z8.8)', ' FAILED release letter: ', letter
    ok = .false.
  end if
  if (.not. ok) stop 1
  print '(a)', ' passed'

contains

  ! date_and_time gives year, month, day, zone, hour, minute, second, milliseconds.
  logical function same(v)
    integer, intent(in) :: v(8)
    same = got(1) == v(3) .and. got(2) == v(2) .and. got(3) == v(1) .and. &
           got(4) == v(5) .and. got(5) == v(6) .and. got(6) == v(7)
  end function same

end program vrpre_host
